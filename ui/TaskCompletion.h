#pragma once

#include <QList>

class ManagedObjectContext;
class MyNote;
class MyNotebook;

// Completing tasks, the same from every list: toggle each task, move the newly completed ones
// into the completed-tasks notebook when the settings ask for it, play the completion sound,
// and ask for a save.
class TaskCompletion
{
public:
    static void markTasksAsCompleted(ManagedObjectContext *context, const QList<MyNote *> &tasks, const void *sender);
    // The notebook named by the settings, when they ask for one and it exists.
    static MyNotebook *completedTasksNotebook(ManagedObjectContext *context);

    TaskCompletion() = delete;
};
