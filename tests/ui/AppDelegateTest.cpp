#include "tests/ui/AppTest.h"

#include "core/OperationQueue.h"
#include "core/store/MyNote.h"
#include "ui/NotesViewController.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>

TEST_F(AppTest, TheStartViewComesFromTheSettings)
{
    Defaults::standardUserDefaults().setBool(Key::StartInTasksView, false);
    auto app = launch();
    EXPECT_EQ(app->selectedViewController(), Kelvara_AppDelegate::TodayView);
    EXPECT_EQ(app->window()->boxView(), app->viewControllers().at(1)->view());
    EXPECT_EQ(app->window()->popUp()->currentIndex(), 1);
}

TEST_F(AppTest, TheTasksCountComesOnlyFromTheViewOnScreen)
{
    Defaults::standardUserDefaults().setBool(Key::StartInTasksView, false);
    auto app = launch();
    QLabel *label = app->window()->tasksCountLabel();
    const auto post = [](const QVariantMap &info) {
        NotificationCenter::defaultCenter().post(QStringLiteral("tasksCountChanged"), nullptr, info);
    };
    post({{QStringLiteral("arrayCount"), 7}, {QStringLiteral("viewController"), 0}});
    post({{QStringLiteral("arrayCount"), 7}});
    EXPECT_EQ(app->tasksCount(), 0) << "the Today view's own count";
    // Posted on a worker, it is taken on the main thread.
    onWorker([&] { post({{QStringLiteral("arrayCount"), 1}, {QStringLiteral("viewController"), 1}}); });
    ASSERT_TRUE(waitUntil([&] { return app->tasksCount() == 1; }));

    // The notebooks view lists no tasks: no count is shown for it.
    app->window()->switcherItem(2)->trigger();
    EXPECT_TRUE(label->isHidden());
}

TEST_F(AppTest, CommandsActOnTheViewOnScreen)
{
    auto app = launch();
    MainWindow *window = app->window();
    NotificationRecorder moveTasks(QStringLiteral("moveTasks"));
    app->showNotebooksListForTasks(nullptr);
    for (int view = 1; view < 5; ++view) {
        window->switcherItem(view)->trigger();
        app->showNotebooksListForTasks(nullptr);
        EXPECT_FALSE(window->action(MainWindow::MoveToNotebook)->isEnabled());
    }
    EXPECT_EQ(moveTasks.senders(), QList<const void *>{app.get()}) << "moving tasks is for the task list only";

    // A view without the operation says so, and a search bar it does not have is not shown.
    auto answer = answerNextAlert(QStringLiteral("OK"));
    window->searchMenuItem()->trigger();
    ASSERT_TRUE(waitUntil([&] { return answer->alerts == 1 && !visibleAlert(); }));
    EXPECT_FALSE(app->viewControllers().at(4)->searchBarActive());
}

// Saving is the queue's work, for a request and for an undone or redone change alike.
TEST_F(AppTest, SaveRequestsUndoAndRedoAreSavedOnTheQueue)
{
    auto app = launch();
    MainWindow *window = app->window();
    ManagedObjectContext *context = app->managedObjectContext();
    auto *task = context->insert<MyNote>();
    task->setTitle(QStringLiteral("Water the plants"));
    NotificationCenter::defaultCenter().post(QStringLiteral("saveDataToDisk"));
    app->operationsQueue().waitUntilAllOperationsAreFinished();
    EXPECT_EQ(StoreStack(storeFolder()).managedObjectContext()->count(QStringLiteral("MyNote")), 1);

    QTest::qWait(0); // the user's action ends with the event-loop turn
    task->setTitle(QStringLiteral("Call the bank"));
    ASSERT_TRUE(waitUntil([&] { return window->action(MainWindow::Undo)->isEnabled(); }));
    EXPECT_FALSE(window->action(MainWindow::Redo)->isEnabled());
    window->action(MainWindow::Undo)->trigger();
    EXPECT_EQ(task->title(), QStringLiteral("Water the plants"));
    window->action(MainWindow::Redo)->trigger();
    EXPECT_EQ(task->title(), QStringLiteral("Call the bank"));
    app->operationsQueue().waitUntilAllOperationsAreFinished();
    EXPECT_FALSE(context->hasChanges());
}

// The end of a run (the sync tests drive real ones) tells the task list to refresh only while
// it is on screen, and a failed run gives no date of the last run.
TEST_F(AppTest, ASyncEndRefreshesTheTaskListOnlyWhileItIsOnScreen)
{
    auto app = launch();
    NotificationRecorder refresh(QStringLiteral("dummyNotification"));
    const auto syncEnded = [](bool success) {
        NotificationCenter::defaultCenter().post(QStringLiteral("hideSyncStatus"), nullptr, {{QStringLiteral("success"), success}});
    };
    syncEnded(false);
    EXPECT_FALSE(app->lastSyncDate().isValid());
    EXPECT_EQ(refresh.senders(), QList<const void *>{app.get()});
    app->window()->switcherItem(3)->trigger();
    syncEnded(true);
    EXPECT_EQ(refresh.count(), 1);
}
