#pragma once

#include <QList>

class MyNote;
class QObject;
class QWidget;

// Moving tasks to the trash, the same from every list: the user is asked first ("DELETE",
// "SURE_DELETE" with the number of tasks), and only the default button moves them; then a save
// is asked for and "tasksDeleted" tells the trash.
class TaskTrash
{
public:
    // Returns at once; the tasks move when the alert is answered. `sender` posts the
    // notifications (none once it is gone).
    static void moveTasksToTrash(QWidget *window, const QList<MyNote *> &tasks, QObject *sender);

    TaskTrash() = delete;
};
