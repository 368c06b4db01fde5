#pragma once

#include "core/store/Predicate.h"
#include "core/store/SortDescriptor.h"
#include "ui/ManagingViewController.h"
#include "ui/TaskCompletingView.h"
#include "ui/TaskCountingView.h"

#include <QDate>
#include <QList>

#include <memory>
#include <vector>

namespace Ui {
class TodayView;
}

class ArrayController;
class MyNote;
class MyNotebook;
class MyTodayNotesArrayController;
class QButtonGroup;
class TaskEditSheet;

// The tasks of every notebook by due day: overdue, today, tomorrow or later, chosen with the
// day selector. Tasks are edited, completed and trashed as in the task list; a new task is due
// on the first day of the range shown.
//
// A range is worked out from the day it is chosen on. The list is re-arranged on every save,
// and a re-arrangement on a later day than the range's works the range out afresh, so a view
// left open overnight does not go on listing yesterday as today.
class TodayViewController : public ManagingViewController, public TaskCountingView, public TaskCompletingView
{
    Q_OBJECT
public:
    enum DayRange { Overdue = 0, Today = 1, Tomorrow = 2, Later = 3 };

    explicit TodayViewController(ManagedObjectContext *context, QObject *parent = nullptr);
    ~TodayViewController() override;

    // Shows a day range; any other value only records it.
    void changeMainPredicate(int tag);

    void newObjectNotification() override;
    void editObjectNotification() override;
    void removeObjectNotification() override;
    void rearrangeArrayController() override;
    void markTasksAsCompleted() override;
    int numberOfTasksInArray() const override;

    // Where new tasks go: the notebook named by the setting "defaultNotebook" while it is listed
    // (not deleted, not hidden), or else the first listed notebook.
    MyNotebook *defaultNotebook() const;

    MyTodayNotesArrayController *taskList() const { return m_tasks; }
    TaskEditSheet *editSheet() const { return m_editSheet; }
    Ui::TodayView &ui() { return *m_ui; }

protected:
    bool keyDown(QKeyEvent *event) override;

private:
    void observeNotifications();
    void postTasksCount();
    // Opens the edit sheet on the first selected task; a `newTask` was added for this edit.
    void editFirstSelectedTask(bool newTask);
    QList<MyNote *> selectedTasks() const;

    std::unique_ptr<Ui::TodayView> m_ui;
    MyTodayNotesArrayController *m_tasks;
    ArrayController *m_notebooks;
    TaskEditSheet *m_editSheet;
    QButtonGroup *m_dayButtons;

    int m_selectedTag = Today;
    QDate m_rangeDay; // the day the shown range was worked out on
    std::vector<SortDescriptor> m_sdForName;
    Predicate m_notDeletedNotHidePredicate;
};
