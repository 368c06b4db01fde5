#include "core/store/ReceivingNotebook.h"

#include "core/Defaults.h"
#include "core/SettingsKeys.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNotebook.h"

namespace {
bool canReceive(const ManagedObject *object, const MyNotebook *from, const QSet<const ManagedObject *> &leaving)
{
    const auto *notebook = dynamic_cast<const MyNotebook *>(object);
    return notebook && notebook != from && !notebook->isDeleted() && !notebook->deleted() && !leaving.contains(notebook);
}
} // namespace

MyNotebook *ReceivingNotebook::find(ManagedObjectContext *context, const QList<ManagedObject *> &candidates,
                                    const MyNotebook *from, const QSet<const ManagedObject *> &leaving)
{
    // An empty identifier is every notebook never synchronised, not a choice of the user.
    const QString chosen = Defaults::standardUserDefaults().stringForKey(Key::defaultNotebook);
    if (context && !chosen.isEmpty()) {
        const QList<ManagedObject *> found = context->fetch(QLatin1String(MyNotebook::entityName),
                                                            Predicate::withFormat(QStringLiteral("guid like %@"), {chosen}));
        if (!found.isEmpty() && canReceive(found.first(), from, leaving))
            return static_cast<MyNotebook *>(found.first());
    }
    for (ManagedObject *candidate : candidates) {
        if (canReceive(candidate, from, leaving) && (!from || static_cast<MyNotebook *>(candidate)->name() != from->name()))
            return static_cast<MyNotebook *>(candidate);
    }
    return nullptr;
}
