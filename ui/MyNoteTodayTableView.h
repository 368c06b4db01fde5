#pragma once

#include "ui/MyNoteTableView.h"

// The Today view's list of task cards: the task list's table, with cards that also name the
// task's notebook, and its own completion notification ("completedTasksInToday"), so that the
// task list does not complete its own selection when a Today row is completed.
class MyNoteTodayTableView : public MyNoteTableView
{
    Q_OBJECT
public:
    explicit MyNoteTodayTableView(QWidget *parent = nullptr);

protected:
    QString completionNotificationName() const override;
};
