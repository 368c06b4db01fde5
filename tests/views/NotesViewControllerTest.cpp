#include "core/Localized.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "tests/support/ViewTest.h"
#include "ui/GlobalSearchController.h"
#include "ui/MoveTasksSheet.h"
#include "ui/MyNotesArrayController.h"
#include "ui/NotesViewController.h"
#include "ui/TaskEditSheet.h"

#include <QTimer>

namespace {
class NotesViewControllerTest : public ViewTest
{
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        inbox = store.firstNotebook();
        work = store.notebook(QStringLiteral("Work"));
        store.task(QStringLiteral("pay rent"), inbox)->setDueDated(QDateTime(QDate(2026, 12, 20), QTime(0, 0)));
        MyNote *call = store.task(QStringLiteral("call Ana"), inbox);
        call->setDueDated(QDateTime(QDate(2026, 12, 8), QTime(0, 0)));
        call->addTags({store.tag(QStringLiteral("home")), store.tag(QStringLiteral("phone"))});
        store.task(QStringLiteral("buy milk"), inbox);
        store.task(QStringLiteral("review draft"), work);
    }
    void showNotebook(NotesViewController &view, MyNotebook *notebook)
    {
        view.setSelectedNotebookIndex(view.notebookList()->indexOf(notebook));
        view.changeSelectedNotebook(nullptr);
    }
    MyNotebook *inbox = nullptr;
    MyNotebook *work = nullptr;
};
} // namespace

TEST_F(NotesViewControllerTest, SortsBySavedOrderSearchesSwitchesNotebooksAndOpensWhatTheGlobalSearchFinds)
{
    Defaults::standardUserDefaults().setInteger(Key::notesOrder, 2);
    NotesViewController view(&store.context());
    const auto window = showInWindow(view);
    const ArrayController &list = *view.taskList();
    EXPECT_EQ(titles(list), QStringLiteral("buy milk, call Ana, pay rent")) << "by due date, undated first";
    EXPECT_FALSE(view.canMove());
    view.changeMainSortDescriptors(0);
    EXPECT_EQ(Defaults::standardUserDefaults().integerForKey(Key::notesOrder), 0);
    view.changeMainSortDescriptors(3);
    EXPECT_TRUE(view.canMove()) << "the hand-kept order";

    view.setSearchText(QStringLiteral("PHONE"));
    EXPECT_EQ(titles(list), QStringLiteral("call Ana")) << "found through its second tag";
    view.setSearchText(QString());
    showNotebook(view, work);
    EXPECT_EQ(titles(list), QStringLiteral("review draft"));
    view.setSelectedNotebookIndex(9);
    view.changeSelectedNotebook(nullptr);
    EXPECT_EQ(view.selectedNotebookIndex(), 0) << "a notebook no longer there falls back to the first";
    EXPECT_EQ(list.count(), 3);

    // The found task opens in its notebook; the search ends on the notebook shown before.
    bool searched = false;
    QTimer::singleShot(0, &view, [&] {
        auto *search = window->findChild<GlobalSearchController *>();
        ASSERT_NE(search, nullptr);
        search->controlTextDidChange(QStringLiteral("draft"));
        search->taskList()->setSelectionIndexes({0});
        search->editSearchedObject();
        EXPECT_EQ(view.selectedNotebookIndex(), 1);
        EXPECT_EQ(view.editSheet()->task()->title(), QStringLiteral("review draft"));
        view.editSheet()->reject();
        search->dismissWindow();
        searched = true;
    });
    view.launchGlobalSearch();
    EXPECT_TRUE(searched);
    EXPECT_EQ(view.selectedNotebookIndex(), 0);
    EXPECT_EQ(list.count(), 3);
}

TEST_F(NotesViewControllerTest, TasksAreMovedFromAddedToTrashedInAndCompletedInTheNotebookShown)
{
    NotesViewController view(&store.context());
    const auto window = showInWindow(view);
    NotificationCenter &center = NotificationCenter::defaultCenter();
    view.changeMainSortDescriptors(0); // buy milk, call Ana, pay rent
    center.post(QStringLiteral("moveTasks"), nullptr, {{QStringLiteral("Indexes"), QVariant::fromValue(QList<int>{0, 2})}});
    EXPECT_TRUE(view.moveSheet()->isVisible());
    EXPECT_EQ(view.moveSheet()->selectedNotebook(), work) << "not the notebook the tasks are in";
    NotificationRecorder saves(QStringLiteral("saveDataToDisk"));
    view.moveMultipleTasks(view.moveSheet()->selectedNotebook());
    EXPECT_EQ(saves.count(), 1);
    EXPECT_EQ(titles(*view.taskList()), QStringLiteral("call Ana"));
    showNotebook(view, work);
    EXPECT_EQ(view.numberOfTasksInArray(), 3);
    center.post(QStringLiteral("moveTasks"));
    EXPECT_EQ(view.moveSheet()->selectedNotebook(), inbox) << "shown from another notebook, the first one";
    view.moveSheet()->reject();

    view.newObjectNotification();
    auto *added = static_cast<MyNote *>(view.taskList()->firstSelectedObject());
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->notebook(), work);
    view.editSheet()->reject();

    view.taskList()->setSelectionIndexes({0, 1});
    NotificationRecorder posts({QStringLiteral("saveDataToDisk"), QStringLiteral("tasksDeleted")});
    view.removeObjectNotification();
    answerAlert(Localized::string(QStringLiteral("CANCEL")));
    EXPECT_EQ(view.numberOfTasksInArray(), 3) << "cancelled, nothing goes";
    view.removeObjectNotification();
    answerAlert(Localized::string(QStringLiteral("DELETE")));
    EXPECT_EQ(posts.names(), (QStringList{QStringLiteral("saveDataToDisk"), QStringLiteral("tasksDeleted")}));
    view.rearrangeArrayController();
    EXPECT_EQ(view.numberOfTasksInArray(), 1);
    view.taskList()->setSelectionIndexes({});
    view.removeObjectNotification();
    EXPECT_EQ(visibleAlert(), nullptr) << "nothing selected, nothing asked";

    view.taskList()->setSelectionIndexes({0});
    center.post(QStringLiteral("completedTasks"));
    EXPECT_TRUE(static_cast<MyNote *>(view.taskList()->objectAt(0))->completed());
}
