#include "core/Defaults.h"
#include "core/Localized.h"
#include "core/SettingsKeys.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "tests/support/TempStore.h"
#include "tests/support/FixedClock.h"
#include "tests/support/NotificationRecorder.h"
#include "ui/MyTodayNotesArrayController.h"
#include "ui/NotesViewController.h"
#include "ui/TaskEditSheet.h"
#include "ui/TodayViewController.h"
#include "ui_TodayView.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {
QMessageBox *openAlert()
{
    for (QWidget *w : QApplication::allWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            return box;
    }
    return nullptr;
}

class TodayViewControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Defaults::standardUserDefaults().resetForTesting();
        Defaults::standardUserDefaults().registerDefaults(SettingsKeys::registeredDefaults());
        Defaults::standardUserDefaults().setObject(Key::completedSound, Localized::string(QStringLiteral("NONE")));
        clock.set(2024, 5, 14, 10, 0);
    }

    MyNote *due(const QString &title, const QDateTime &when, MyNotebook *notebook = nullptr)
    {
        MyNote *task = store.task(title, notebook);
        task->setDueDated(when);
        return task;
    }

    static QStringList titles(const TodayViewController &view)
    {
        QStringList result;
        for (ManagedObject *o : view.taskList()->arrangedObjects())
            result << static_cast<MyNote *>(o)->title();
        return result;
    }

    FixedClock clock;
    TempStore store;
};
} // namespace

TEST_F(TodayViewControllerTest, TheFourRangesListTheirTasksInTheirOrders)
{
    due(QStringLiteral("b last sunday"), clock.at(2024, 5, 12, 9, 0));
    due(QStringLiteral("a last sunday"), clock.at(2024, 5, 12, 9, 0));
    due(QStringLiteral("c may day"), clock.at(2024, 5, 1, 9, 0));
    due(QStringLiteral("done yesterday"), clock.at(2024, 5, 13, 9, 0))->setCompleted(true);
    due(QStringLiteral("end of yesterday"), clock.at(2024, 5, 13, 23, 59, 59));
    due(QStringLiteral("early"), clock.at(2024, 5, 14, 0, 0, 25));
    due(QStringLiteral("done today"), clock.at(2024, 5, 14, 8, 0))->setCompleted(true);
    due(QStringLiteral("end of today"), clock.at(2024, 5, 14, 23, 59, 59));
    due(QStringLiteral("tomorrow b"), clock.at(2024, 5, 15, 9, 0));
    due(QStringLiteral("tomorrow a"), clock.at(2024, 5, 15, 18, 0));
    due(QStringLiteral("later x"), clock.at(2024, 5, 20, 9, 0));
    due(QStringLiteral("later y"), clock.at(2024, 5, 16, 0, 0));
    store.task(QStringLiteral("no due date"));
    due(QStringLiteral("trashed"), clock.at(2024, 5, 14, 9, 0))->setActive(false);
    MyNotebook *hidden = store.notebook(QStringLiteral("Someday"));
    hidden->setValue(QStringLiteral("hide"), 1);
    for (const QDateTime &when : {clock.at(2024, 5, 1, 9, 0), clock.at(2024, 5, 14, 9, 0), clock.at(2024, 5, 15, 9, 0),
                                  clock.at(2024, 6, 1, 9, 0)})
        due(QStringLiteral("hidden"), when, hidden);

    NotificationRecorder counts(QStringLiteral("tasksCountChanged"));
    TodayViewController view(&store.context());
    QAbstractItemModelTester tester(view.taskList(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(view.selectedTag(), TodayViewController::Today) << "the view opens on today";
    EXPECT_TRUE(view.ui().todayButton->isChecked());
    EXPECT_EQ(titles(view), QStringList({QStringLiteral("done today"), QStringLiteral("early"),
                                         QStringLiteral("end of today"), QStringLiteral("end of yesterday")}));
    ASSERT_GT(counts.count, 0);
    EXPECT_EQ(counts.last.userInfo.value(QStringLiteral("viewController")).toInt(), 1);
    EXPECT_EQ(counts.last.userInfo.value(QStringLiteral("arrayCount")).toInt(), 4);

    view.ui().overdueButton->click();
    EXPECT_EQ(titles(view), QStringList({QStringLiteral("a last sunday"), QStringLiteral("b last sunday"),
                                         QStringLiteral("c may day")}));
    EXPECT_EQ(counts.last.userInfo.value(QStringLiteral("arrayCount")).toInt(), 3);
    view.ui().tomorrowButton->click();
    EXPECT_EQ(titles(view), QStringList({QStringLiteral("end of today"), QStringLiteral("tomorrow a"),
                                         QStringLiteral("tomorrow b")}));
    view.ui().laterButton->click();
    EXPECT_EQ(titles(view), QStringList({QStringLiteral("later y"), QStringLiteral("later x")}));
    EXPECT_EQ(view.numberOfTasksInArray(), 2);

    view.changeMainPredicate(9);
    EXPECT_EQ(view.selectedTag(), 9);
    EXPECT_EQ(titles(view), QStringList({QStringLiteral("later y"), QStringLiteral("later x")})) << "no such range";

    // Rows are neither dragged out of nor dropped on the Today list.
    EXPECT_FALSE(view.taskList()->flags(view.taskList()->index(0)) & Qt::ItemIsDragEnabled);
    QMimeData drop;
    drop.setData(QStringLiteral("MyOwnTableViewDataType"), QByteArray());
    EXPECT_FALSE(view.taskList()->canDropMimeData(&drop, Qt::MoveAction, 0, 0, {}));
    // Tooltips are the task's notes.
    MyNote *first = static_cast<MyNote *>(view.taskList()->objectAt(0));
    first->setContent(QStringLiteral("bring the receipts"));
    EXPECT_EQ(view.taskList()->data(view.taskList()->index(0), Qt::ToolTipRole).toString(),
              QStringLiteral("bring the receipts"));
}

TEST_F(TodayViewControllerTest, AViewLeftOpenOvernightListsTheNewDayAtItsNextRearrangement)
{
    due(QStringLiteral("tonight"), clock.at(2024, 5, 14, 21, 0));
    due(QStringLiteral("tomorrow morning"), clock.at(2024, 5, 15, 9, 0));
    clock.set(2024, 5, 14, 23, 58);
    TodayViewController view(&store.context());
    EXPECT_EQ(titles(view), QStringList({QStringLiteral("tonight")}));

    clock.set(2024, 5, 15, 0, 1, 17);
    view.rearrangeArrayController(); // as the midnight refresh and every save do
    EXPECT_EQ(titles(view), QStringList({QStringLiteral("tomorrow morning")}));
    view.ui().overdueButton->click();
    EXPECT_EQ(titles(view), QStringList({QStringLiteral("tonight")}));
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
    QMainWindow window;
    window.setCentralWidget(view.view());
    window.show();
    const int before = int(store.context().fetch(QStringLiteral("MyNote")).size());

    view.ui().overdueButton->click();
    view.newObjectNotification();
    QMessageBox *alert = openAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->informativeText(), Localized::string(QStringLiteral("NOTCREATEOVERDUETASK")));
    alert->close();
    EXPECT_EQ(store.context().fetch(QStringLiteral("MyNote")).size(), before) << "nothing was created";

    Defaults::standardUserDefaults().setObject(Key::defaultNotebook, QStringLiteral("guid-work"));
    view.ui().tomorrowButton->click();
    view.newObjectNotification();
    auto *added = static_cast<MyNote *>(view.taskList()->firstSelectedObject());
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->dueDated(), clock.at(2024, 5, 15, 0, 0));
    EXPECT_EQ(added->notebook(), work);
    EXPECT_EQ(view.taskList()->selectedObjects().size(), 1);
    EXPECT_TRUE(view.editSheet()->isVisible()) << "the new task is open for editing";
    view.editSheet()->hide();

    // The named notebook is gone: the first listed notebook by name takes the task.
    Defaults::standardUserDefaults().setObject(Key::defaultNotebook, QStringLiteral("guid-gone"));
    view.ui().laterButton->click();
    view.newObjectNotification();
    added = static_cast<MyNote *>(view.taskList()->firstSelectedObject());
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->dueDated(), clock.at(2024, 5, 16, 0, 0)) << "later starts the day after tomorrow";
    EXPECT_EQ(added->notebook(), archive);
    // Cancelled, the new task goes again.
    view.editSheet()->reject();
    EXPECT_TRUE(added->isDeleted());
    EXPECT_EQ(view.numberOfTasksInArray(), 0);

    // A hidden notebook would hide the new task as well.
    Defaults::standardUserDefaults().setObject(Key::defaultNotebook, QStringLiteral("guid-hidden"));
    EXPECT_EQ(view.defaultNotebook(), archive);
    work->setDeleted(true);
    Defaults::standardUserDefaults().setObject(Key::defaultNotebook, QStringLiteral("guid-work"));
    EXPECT_EQ(view.defaultNotebook(), archive);
    window.takeCentralWidget();
}

TEST_F(TodayViewControllerTest, SpaceCompletesATodayRowAndTheTaskListLeavesItsOwnSelectionAlone)
{
    MyNote *inList = due(QStringLiteral("in the task list"), clock.at(2024, 6, 1, 9, 0));
    MyNote *today = due(QStringLiteral("today"), clock.at(2024, 5, 14, 9, 0));
    NotesViewController notes(&store.context());
    TodayViewController view(&store.context());
    notes.taskList()->setSelectedObjects({inList});
    view.taskList()->setSelectedObjects({today});
    NotificationRecorder completions(QStringLiteral("completedTasksInToday"));
    NotificationRecorder edits(QStringLiteral("EditSelectedTask"));

    QTest::keyClick(view.ui().taskTable, Qt::Key_Space);
    EXPECT_EQ(completions.count, 1);
    EXPECT_TRUE(today->completed());
    EXPECT_FALSE(inList->completed()) << "the task list ignores the Today table's completion";
    EXPECT_EQ(view.numberOfTasksInArray(), 1) << "a completed task stays in today's list";

    QTest::keyClick(view.ui().taskTable, Qt::Key_Return);
    EXPECT_EQ(edits.count, 1);

    // Delete asks, then trashes through the task list's routine.
    NotificationRecorder deleted(QStringLiteral("tasksDeleted"));
    QTest::keyClick(view.view(), Qt::Key_Delete);
    QMessageBox *alert = openAlert();
    ASSERT_NE(alert, nullptr);
    alert->defaultButton()->click();
    EXPECT_FALSE(today->active());
    EXPECT_EQ(deleted.count, 1);
    view.rearrangeArrayController();
    EXPECT_EQ(view.numberOfTasksInArray(), 0);
}
