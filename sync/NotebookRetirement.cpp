#include "sync/NotebookRetirement.h"

#include "core/Clock.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/ReceivingNotebook.h"
#include "core/store/SyncWriteScope.h"

bool NotebookRetirement::retire(SyncWriteScope &scope, MyNotebook *notebook)
{
    const QList<MyNote *> tasks = notebook->notes();
    if (!tasks.isEmpty()) {
        ManagedObjectContext &context = scope.context();
        MyNotebook *receiving = ReceivingNotebook::find(&context, context.fetch(QLatin1String(MyNotebook::entityName)),
                                                        notebook, {notebook});
        if (!receiving) {
            if (!notebook->deleted())
                scope.write(notebook, {{QStringLiteral("deleted"), true}});
            return false;
        }
        // The move is this device's news for the service: stamped now, so that no older
        // version of the note takes the task back out of the trash.
        const qint64 now = Clock::nowMilliseconds();
        for (MyNote *task : tasks) {
            scope.write(task, {{QStringLiteral("notebook"), SyncWriteScope::toOne(receiving)},
                               {QStringLiteral("active"), false},
                               {QStringLiteral("updated"), now},
                               {QStringLiteral("needUpdate"), true}});
        }
    }
    scope.deleteObject(notebook);
    return true;
}
