#include "tests/ui/AppTest.h"

#include "core/Localized.h"
#include "core/OperationQueue.h"
#include "core/store/MyNote.h"
#include "ui/NotesViewController.h"

#include <QAction>
#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLayout>

TEST_F(AppTest, TheStartViewAndTheTaskListsNotebookComeFromTheSettings)
{
    addNotebooks({QStringLiteral("Work"), QStringLiteral("Home")});
    Defaults::standardUserDefaults().setBool(Key::StartInTasksView, false);
    {
        auto app = launch();
        MainWindow *window = app->window();
        EXPECT_EQ(app->selectedViewController(), Kelvara_AppDelegate::TodayView);
        EXPECT_EQ(window->boxView(), app->viewControllers().at(1)->view());
        EXPECT_EQ(window->popUp()->currentIndex(), 1);
        EXPECT_EQ(app->notesViewController()->notebookList()->selectionIndexes(), QList<int>{0});
        for (int i = 0; i < 5; ++i) { // the switcher: every view by title, in order, with its image
            EXPECT_EQ(window->popUp()->itemText(i), app->viewControllers().at(i)->title());
            EXPECT_FALSE(window->popUp()->itemIcon(i).pixmap(32, 32).isNull()) << i;
        }
    }

    Defaults::standardUserDefaults().setBool(Key::StartInTasksView, true);
    Defaults::standardUserDefaults().setInteger(Key::lastUsedNotebook, 2);
    auto app = launch();
    EXPECT_EQ(app->selectedViewController(), Kelvara_AppDelegate::TasksView);
    EXPECT_EQ(app->window()->popUp()->currentIndex(), 0);
    EXPECT_EQ(app->notesViewController()->notebookList()->selectionIndexes(), QList<int>{2});
}

TEST_F(AppTest, SwitchingViewsResizesTheWindowByTheViewsSizeAndKeepsItsTopLeft)
{
    auto app = launch();
    MainWindow *window = app->window();
    ASSERT_TRUE(waitForFrame(window));
    const QRect before = window->geometry();
    const QSize box = window->boxContentSize();
    QWidget *today = app->viewControllers().at(1)->view();
    today->resize(box.width() + 60, box.height() - 40);
    window->switcherItem(1)->trigger();
    ASSERT_TRUE(waitUntil([&] { return !window->isAnimatingFrame() && window->geometry().size() != before.size(); }));
    EXPECT_EQ(window->geometry(), QRect(before.topLeft(), before.size() + QSize(60, -40)));
    // Back to the task list, which kept its size while away; then from the keyboard.
    emit window->popUp()->activated(0);
    ASSERT_TRUE(waitUntil([&] { return !window->isAnimatingFrame() && window->geometry() == before; }));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(window->popUp()->currentIndex(), 2);
    ASSERT_TRUE(waitForFrame(window));
    EXPECT_EQ(window->geometry().topLeft(), before.topLeft());
    EXPECT_EQ(window->boxContentSize(), app->viewControllers().at(2)->view()->size());
}

TEST_F(AppTest, AViewWhoseEditorHoldsAnUnacceptableValueStaysOnScreen)
{
    auto app = launch();
    MainWindow *window = app->window();
    QWidget *notes = app->viewControllers().at(0)->view();
    auto *field = new QLineEdit(notes);
    field->setValidator(new QIntValidator(10, 99, field));
    notes->layout()->addWidget(field);
    field->show();
    field->setText(QStringLiteral("5")); // a start, not yet a value
    field->setFocus();

    window->switcherItem(4)->trigger();
    EXPECT_EQ(window->boxView(), notes);
    EXPECT_EQ(app->selectedViewController(), 0) << "the commands still act on the view on screen";
    EXPECT_TRUE(window->switcherItem(0)->isChecked());
    field->setText(QStringLiteral("50"));
    window->switcherItem(4)->trigger();
    EXPECT_EQ(window->boxView(), app->viewControllers().at(4)->view());
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
    EXPECT_EQ(label->text(), Localized::format(QStringLiteral("TASKS_COUNT"), {0}));
    // Posted on a worker, it is taken on the main thread.
    onWorker([&] { post({{QStringLiteral("arrayCount"), 1}, {QStringLiteral("viewController"), 1}}); });
    ASSERT_TRUE(waitUntil([&] { return app->tasksCount() == 1; }));
    EXPECT_EQ(label->text(), Localized::string(QStringLiteral("TASKS_COUNT_ONE")));

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
    EXPECT_EQ(answer->informativeText, Localized::string(QStringLiteral("NOTAVAILFORVIEW")));
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
