#include "sync/NotebookRetirement.h"

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
        // The service moves the notes of a notebook it expunges in the same way, and the chunk
        // brings their new state: the move is not this device's news, so nothing is stamped or
        // marked. A task never sent is new already, and goes out where it now is.
        for (MyNote *task : tasks) {
            scope.write(task, {{QStringLiteral("notebook"), SyncWriteScope::toOne(receiving)},
                               {QStringLiteral("active"), false}});
        }
    }
    scope.deleteObject(notebook);
    return true;
}
