#include "core/Defaults.h"
#include "core/Localized.h"
#include "core/NotificationCenter.h"
#include "core/SettingsKeys.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "tests/support/NotificationRecorder.h"
#include "tests/support/TempStore.h"
#include "ui/GlobalSearchController.h"
#include "ui/MoveTasksSheet.h"
#include "ui/MyNotesArrayController.h"
#include "ui/NotesViewController.h"
#include "ui/TaskEditSheet.h"
#include "ui_NotesView.h"
#include "ui_TaskEditSheet.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
QStringList titles(const NotesViewController &view)
{
    QStringList result;
    for (ManagedObject *o : view.taskList()->arrangedObjects())
        result << static_cast<MyNote *>(o)->title();
    return result;
}

QMessageBox *openAlert()
{
    for (QWidget *w : QApplication::allWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// A window holding the view, as the application shows it.
struct Shown
{
    explicit Shown(NotesViewController &view)
    {
        window.setCentralWidget(view.view());
        window.resize(520, 600);
        window.show();
    }
    ~Shown() { window.takeCentralWidget(); }
    QMainWindow window;
};

class NotesViewControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Defaults::standardUserDefaults().resetForTesting();
        Defaults::standardUserDefaults().registerDefaults(SettingsKeys::registeredDefaults());
        inbox = store.firstNotebook();
        work = store.notebook(QStringLiteral("Work"));
        store.task(QStringLiteral("pay rent"), inbox)->setDueDated(QDateTime(QDate(2026, 12, 20), QTime(0, 0)));
        MyNote *call = store.task(QStringLiteral("call Ana"), inbox);
        call->setDueDated(QDateTime(QDate(2026, 12, 8), QTime(0, 0)));
        call->addTagsObject(store.tag(QStringLiteral("phone")));
        store.task(QStringLiteral("buy milk"), inbox)->setContent(QStringLiteral("oat, not cow"));
        store.task(QStringLiteral("review draft"), work);
    }
    TempStore store;
    MyNotebook *inbox = nullptr;
    MyNotebook *work = nullptr;
};
} // namespace

TEST_F(NotesViewControllerTest, SortsBySavedOrderSearchesAndSwitchesNotebooks)
{
    Defaults::standardUserDefaults().setInteger(Key::notesOrder, 2);
    NotesViewController view(&store.context());
    EXPECT_EQ(view.selectedSortOrder(), 2);
    EXPECT_EQ(titles(view), (QStringList{QStringLiteral("buy milk"), QStringLiteral("call Ana"), QStringLiteral("pay rent")}))
        << "by due date, undated first";
    EXPECT_FALSE(view.canMove());

    view.changeMainSortDescriptors(0);
    EXPECT_EQ(titles(view).first(), QStringLiteral("buy milk"));
    EXPECT_EQ(Defaults::standardUserDefaults().integerForKey(Key::notesOrder), 0);
    view.changeMainSortDescriptors(7);
    EXPECT_EQ(view.selectedSortOrder(), 0) << "an order outside 0..3 changes nothing";
    view.changeMainSortDescriptors(3);
    EXPECT_TRUE(view.canMove());

    view.setSearchText(QStringLiteral("PHONE"));
    EXPECT_EQ(titles(view), QStringList{QStringLiteral("call Ana")}) << "found through its tag";
    view.setSearchText(QStringLiteral("oat"));
    EXPECT_TRUE(titles(view).isEmpty());
    Defaults::standardUserDefaults().setBool(Key::SearchInContent, true);
    view.setSearchText(QStringLiteral("oat"));
    EXPECT_EQ(titles(view), QStringList{QStringLiteral("buy milk")});
    view.setSearchText(QString());
    EXPECT_EQ(titles(view).size(), 3);

    // The notebooks are listed by name: "My Tasks", "Work".
    view.setSelectedNotebookIndex(1);
    view.changeSelectedNotebook(nullptr);
    EXPECT_EQ(titles(view), QStringList{QStringLiteral("review draft")});
    view.setSelectedNotebookIndex(9);
    view.changeSelectedNotebook(nullptr);
    EXPECT_EQ(view.selectedNotebookIndex(), 0) << "a notebook no longer there falls back to the first";
    EXPECT_EQ(titles(view).size(), 3);
}

TEST_F(NotesViewControllerTest, AddingOpensTheEditorAndCountsFollowTheList)
{
    NotesViewController view(&store.context());
    Shown shown(view);
    NotificationRecorder counts(QStringLiteral("tasksCountChanged"));
    view.newObjectNotification();
    ASSERT_EQ(view.numberOfTasksInArray(), 4);
    ASSERT_GE(counts.count, 1);
    EXPECT_EQ(counts.last.userInfo.value(QStringLiteral("arrayCount")).toInt(), 4);
    EXPECT_EQ(counts.last.userInfo.value(QStringLiteral("viewController")).toInt(), 0);
    auto *added = static_cast<MyNote *>(view.taskList()->firstSelectedObject());
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->notebook(), inbox);
    EXPECT_TRUE(view.editSheet()->isVisible());
    EXPECT_EQ(view.editSheet()->ui().notebookLabel->text(), inbox->name());
    view.editSheet()->ui().titleField->setText(QStringLiteral("water plants"));
    EXPECT_TRUE(view.editSheet()->endEditTask());
    EXPECT_EQ(added->title(), QStringLiteral("water plants"));
}

TEST_F(NotesViewControllerTest, TrashingAsksFirstAndOnlyTheDefaultButtonActs)
{
    NotesViewController view(&store.context());
    Shown shown(view);
    view.taskList()->setSelectionIndexes({0, 1});
    NotificationRecorder saves(QStringLiteral("saveDataToDisk")), deleted(QStringLiteral("tasksDeleted"));

    view.removeObjectNotification();
    QMessageBox *alert = openAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->informativeText(), Localized::format(QStringLiteral("SURE_DELETE"), {2}));
    // The second button cancels.
    ASSERT_EQ(alert->buttons().size(), 2);
    for (QAbstractButton *button : alert->buttons()) {
        if (button != alert->defaultButton())
            button->click();
    }
    EXPECT_EQ(deleted.count, 0);
    EXPECT_EQ(view.numberOfTasksInArray(), 3);

    view.removeObjectNotification();
    alert = openAlert();
    ASSERT_NE(alert, nullptr);
    alert->defaultButton()->click();
    EXPECT_EQ(saves.count, 1);
    EXPECT_EQ(deleted.count, 1);
    view.rearrangeArrayController();
    EXPECT_EQ(view.numberOfTasksInArray(), 1);

    // One task is asked about in the singular.
    view.removeObjectNotification();
    alert = openAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->informativeText(), Localized::string(QStringLiteral("SURE_DELETE_ONE")));
    alert->close();

    // Delete on the list asks too; with nothing selected nothing is asked.
    view.taskList()->setSelectionIndexes({});
    view.removeObjectNotification();
    EXPECT_EQ(openAlert(), nullptr);
}

TEST_F(NotesViewControllerTest, DroppedRowsGoToTheNotebookChosenInTheMoveSheetAndCompletionToggles)
{
    NotesViewController view(&store.context());
    Shown shown(view);
    view.changeMainSortDescriptors(0); // buy milk, call Ana, pay rent
    NotificationCenter::defaultCenter().post(QStringLiteral("moveTasks"), nullptr,
                                             {{QStringLiteral("Indexes"), QVariant::fromValue(QList<int>{0, 2})}});
    EXPECT_TRUE(view.moveSheet()->isVisible());
    ASSERT_TRUE(view.rowsToMove().has_value());
    EXPECT_EQ(view.moveSheet()->selectedNotebook(), work) << "not the notebook the tasks are in";
    NotificationRecorder saves(QStringLiteral("saveDataToDisk"));
    view.moveMultipleTasks(view.moveSheet()->selectedNotebook());
    EXPECT_EQ(saves.count, 1);
    EXPECT_EQ(titles(view), QStringList{QStringLiteral("call Ana")});
    EXPECT_EQ(work->notes().size(), 3);

    // A confirmed sheet without a notebook just closes.
    NotificationCenter::defaultCenter().post(QStringLiteral("moveTasks"));
    view.moveMultipleTasks(nullptr);
    EXPECT_EQ(titles(view), QStringList{QStringLiteral("call Ana")});

    // Shown from the other notebook, the sheet offers the first one.
    view.setSelectedNotebookIndex(view.notebookList()->indexOf(work));
    view.changeSelectedNotebook(nullptr);
    NotificationCenter::defaultCenter().post(QStringLiteral("moveTasks"));
    EXPECT_EQ(view.moveSheet()->selectedNotebook(), inbox);
    view.moveSheet()->reject();
    view.setSelectedNotebookIndex(view.notebookList()->indexOf(inbox));
    view.changeSelectedNotebook(nullptr);

    view.taskList()->setSelectionIndexes({0});
    NotificationCenter::defaultCenter().post(QStringLiteral("completedTasks"));
    EXPECT_TRUE(static_cast<MyNote *>(view.taskList()->objectAt(0))->completed());
    NotificationCenter::defaultCenter().post(QStringLiteral("completedTasksInToday"));
    EXPECT_TRUE(static_cast<MyNote *>(view.taskList()->objectAt(0))->completed()) << "the Today view's, not ours";
}

TEST_F(NotesViewControllerTest, TheGlobalSearchOpensAFoundTaskAndEndsOnTheNotebookShownBefore)
{
    NotesViewController view(&store.context());
    Shown shown(view);
    ASSERT_EQ(view.selectedNotebookIndex(), 0);
    bool searched = false;
    QTimer::singleShot(0, &view, [&] {
        auto *search = shown.window.findChild<GlobalSearchController *>();
        ASSERT_NE(search, nullptr);
        search->controlTextDidChange(QStringLiteral("draft"));
        ASSERT_EQ(search->taskList()->count(), 1);
        search->taskList()->setSelectionIndexes({0});
        search->editSearchedObject();
        // The task list switched to the task's notebook and opened the task.
        EXPECT_EQ(view.selectedNotebookIndex(), 1);
        EXPECT_TRUE(view.editSheet()->isVisible());
        EXPECT_EQ(view.editSheet()->task()->title(), QStringLiteral("review draft"));
        view.editSheet()->reject();
        search->dismissWindow();
        searched = true;
    });
    view.launchGlobalSearch();
    EXPECT_TRUE(searched);
    EXPECT_EQ(view.selectedNotebookIndex(), 0) << "back on the notebook shown before the search";
    EXPECT_EQ(titles(view).size(), 3);
}
