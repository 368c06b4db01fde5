#pragma once

#include <QList>
#include <QSet>

class ManagedObject;
class ManagedObjectContext;
class MyNotebook;

// Which notebook takes in the tasks of a notebook that goes away (deleted, or gone from under
// a task being restored from the trash): the notebook that the setting "defaultNotebook"
// names by its service identifier, otherwise the first of the candidates whose name differs
// from the departing notebook's. Never a notebook that is deleted or leaving itself: tasks
// moved there could be reached from no view.
class ReceivingNotebook
{
public:
    // `from` is the departing notebook (nullptr when there is none); `leaving` the notebooks
    // going away together with it.
    static MyNotebook *find(ManagedObjectContext *context, const QList<ManagedObject *> &candidates,
                            const MyNotebook *from, const QSet<const ManagedObject *> &leaving = {});

    ReceivingNotebook() = delete;
};
