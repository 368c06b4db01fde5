#include "core/Localized.h"
#include "core/store/MyNotebook.h"
#include "tests/support/FixedClock.h"
#include "tests/support/ViewTest.h"
#include "ui/MyTodayNotesArrayController.h"
#include "ui/NotesViewController.h"
#include "ui/TaskEditSheet.h"
#include "ui/TodayViewController.h"
#include "ui_TodayView.h"

#include <QAbstractItemModelTester>
#include <QMimeData>
#include <QPushButton>

namespace {
class TodayViewControllerTest : public ViewTest
{
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        Defaults::standardUserDefaults().setObject(Key::completedSound, Localized::string(QStringLiteral("NONE")));
        clock.set(2024, 5, 14, 10, 0);
    }

    MyNote *due(const QString &title, const QDateTime &when, MyNotebook *notebook = nullptr)
    {
        MyNote *task = store.task(title, notebook);
        task->setDueDated(when);
        return task;
    }

    FixedClock clock;
};
} // namespace

TEST_F(TodayViewControllerTest, TheFourRangesListTheirTasksInTheirOrders)
{
    const struct
    {
        const char *title;
        int day, hour, minute, second;
    } tasks[] = {{"b last sunday", 12, 9, 0, 0}, {"a last sunday", 12, 9, 0, 0}, {"c may day", 1, 9, 0, 0},
                 {"end of yesterday", 13, 23, 59, 59}, {"early", 14, 0, 0, 25}, {"end of today", 14, 23, 59, 59},
                 {"tomorrow b", 15, 9, 0, 0}, {"tomorrow a", 15, 18, 0, 0}, {"later x", 20, 9, 0, 0}, {"later y", 16, 0, 0, 0}};
    for (const auto &t : tasks)
        due(QLatin1String(t.title), clock.at(2024, 5, t.day, t.hour, t.minute, t.second));
    due(QStringLiteral("done yesterday"), clock.at(2024, 5, 13, 9, 0))->setCompleted(true);
    due(QStringLiteral("done today"), clock.at(2024, 5, 14, 8, 0))->setCompleted(true);
    store.task(QStringLiteral("no due date"));
    due(QStringLiteral("trashed"), clock.at(2024, 5, 14, 9, 0))->setActive(false);
    MyNotebook *hidden = store.notebook(QStringLiteral("Someday"));
    hidden->setValue(QStringLiteral("hide"), 1);
    for (int month : {4, 5, 6})
        due(QStringLiteral("hidden"), clock.at(2024, month, 14, 9, 0), hidden);

    NotificationRecorder counts(QStringLiteral("tasksCountChanged"));
    TodayViewController view(&store.context());
    const ArrayController &list = *view.taskList();
    QAbstractItemModelTester tester(view.taskList(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_TRUE(view.ui().todayButton->isChecked()) << "the view opens on today";
    EXPECT_EQ(titles(list), QStringLiteral("done today, early, end of today, end of yesterday"));
    EXPECT_EQ(counts.lastInfo(QStringLiteral("viewController")).toInt(), 1);

    view.ui().overdueButton->click();
    EXPECT_EQ(titles(list), QStringLiteral("a last sunday, b last sunday, c may day"));
    EXPECT_EQ(counts.lastInfo(QStringLiteral("arrayCount")).toInt(), 3);
    view.ui().tomorrowButton->click();
    EXPECT_EQ(titles(list), QStringLiteral("end of today, tomorrow a, tomorrow b"));
    view.ui().laterButton->click();
    EXPECT_EQ(titles(list), QStringLiteral("later y, later x"));

    // Rows are neither dragged out of nor dropped on the Today list.
    EXPECT_FALSE(list.flags(list.index(0)) & Qt::ItemIsDragEnabled);
    QMimeData drop;
    drop.setData(QStringLiteral("MyOwnTableViewDataType"), QByteArray());
    EXPECT_FALSE(view.taskList()->canDropMimeData(&drop, Qt::MoveAction, 0, 0, {}));
}

TEST_F(TodayViewControllerTest, NewTasksAreDueOnTheFirstDayShownAndGoToTheDefaultNotebookWhileItIsListed)
{
    MyNotebook *archive = store.notebook(QStringLiteral("Archive"));
    MyNotebook *work = store.notebook(QStringLiteral("Work"));
    work->setValue(QStringLiteral("guid"), QStringLiteral("guid-work"));
    MyNotebook *hidden = store.notebook(QStringLiteral("Hidden"));
    hidden->setValue(QStringLiteral("guid"), QStringLiteral("guid-hidden"));
    hidden->setValue(QStringLiteral("hide"), 1);
    TodayViewController view(&store.context());
    const auto window = showInWindow(view);
    Defaults &defaults = Defaults::standardUserDefaults();
    const auto added = [&](QAbstractButton *range) {
        range->click();
        view.newObjectNotification();
        return static_cast<MyNote *>(view.taskList()->firstSelectedObject());
    };

    EXPECT_EQ(added(view.ui().overdueButton), nullptr);
    EXPECT_FALSE(answerAlert(QStringLiteral("OK")).isEmpty()) << "the user is told why";
    EXPECT_EQ(store.context().count(QStringLiteral("MyNote")), 0) << "nothing was created";

    defaults.setObject(Key::defaultNotebook, QStringLiteral("guid-work"));
    MyNote *task = added(view.ui().tomorrowButton);
    ASSERT_NE(task, nullptr);
    EXPECT_EQ(task->dueDated(), clock.at(2024, 5, 15, 0, 0));
    EXPECT_EQ(task->notebook(), work);
    view.editSheet()->hide();

    // The named notebook is gone: the first listed notebook by name takes the task.
    defaults.setObject(Key::defaultNotebook, QStringLiteral("guid-gone"));
    task = added(view.ui().laterButton);
    ASSERT_NE(task, nullptr);
    EXPECT_EQ(task->dueDated(), clock.at(2024, 5, 16, 0, 0)) << "later starts the day after tomorrow";
    EXPECT_EQ(task->notebook(), archive);
    view.editSheet()->reject();
    EXPECT_TRUE(task->isDeleted()) << "cancelled, the new task goes again";

    // A hidden or deleted notebook would hide the new task as well.
    defaults.setObject(Key::defaultNotebook, QStringLiteral("guid-hidden"));
    EXPECT_EQ(view.defaultNotebook(), archive);
    work->setDeleted(true);
    defaults.setObject(Key::defaultNotebook, QStringLiteral("guid-work"));
    EXPECT_EQ(view.defaultNotebook(), archive);
}

TEST_F(TodayViewControllerTest, SpaceCompletesATodayRowAndTheTaskListLeavesItsOwnSelectionAlone)
{
    MyNote *inList = due(QStringLiteral("in the task list"), clock.at(2024, 6, 1, 9, 0));
    MyNote *today = due(QStringLiteral("today"), clock.at(2024, 5, 14, 9, 0));
    NotesViewController notes(&store.context());
    TodayViewController view(&store.context());
    const auto window = showInWindow(view);
    notes.taskList()->setSelectedObjects({inList});
    view.taskList()->setSelectedObjects({today});
    NotificationRecorder posts({QStringLiteral("completedTasksInToday"), QStringLiteral("EditSelectedTask"),
                                QStringLiteral("tasksDeleted")});

    QTest::keyClick(view.ui().taskTable, Qt::Key_Space);
    EXPECT_TRUE(today->completed());
    EXPECT_FALSE(inList->completed()) << "the task list ignores the Today table's completion";
    EXPECT_EQ(view.numberOfTasksInArray(), 1) << "a completed task stays in today's list";
    QTest::keyClick(view.ui().taskTable, Qt::Key_Return);

    // Delete asks, then trashes through the task list's routine.
    QTest::keyClick(view.view(), Qt::Key_Delete);
    answerAlert(Localized::string(QStringLiteral("DELETE")));
    EXPECT_FALSE(today->active());
    EXPECT_EQ(posts.names(), (QStringList{QStringLiteral("completedTasksInToday"), QStringLiteral("EditSelectedTask"),
                                          QStringLiteral("tasksDeleted")}));
    view.rearrangeArrayController();
    EXPECT_EQ(view.numberOfTasksInArray(), 0);
}
