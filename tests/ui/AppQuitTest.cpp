#include "tests/ui/AppTest.h"

#include "core/Localized.h"
#include "core/MainThread.h"
#include "core/OperationQueue.h"
#include "core/store/MyNote.h"
#include "core/store/PersistentStoreCoordinator.h"
#include "core/store/SqliteDatabase.h"
#include "tests/support/RecordingErrorPresenter.h"
#include "ui/NotesViewController.h"

#include <QCursor>
#include <QSignalSpy>
#include <QWindow>

#include <future>
#include <tuple>

namespace {
// The pointer's moves seen by any window while it lives.
class PointerMoves : public QObject
{
public:
    PointerMoves() { qApp->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::MouseMove;
        return false;
    }
    int count = 0;
};
} // namespace

TEST_F(AppTest, QuitRunsTheLastSyncAndWaitsForItServingItsHopsButNotTheUsersInput)
{
    Defaults &defaults = Defaults::standardUserDefaults();
    defaults.setBool(Key::firstSync, false);
    defaults.setBool(Key::SyncingActive, true);
    defaults.setBool(Key::SyncWhenQuit, true);
    defaults.setBool(Key::showTasksStatusPanelAtEnd, true);
    auto app = launch();
    QSignalSpy approved(app.get(), &Kelvara_AppDelegate::terminationApproved);
    QStringList steps;
    bool finishingShown = false;
    PointerMoves moves;
    bool movedDuringWait = true;
    // Turns of the wait's event loop, counted by a timer that fires at each one.
    QTimer turns;
    turns.setInterval(0);
    std::promise<void> turnsServed;
    int turnsCount = 0;
    QObject::connect(&turns, &QTimer::timeout, [&] {
        if (++turnsCount == 5) {
            turns.stop();
            turnsServed.set_value();
        }
    });
    // The run is still busy when the quit starts waiting for it: it goes on only once the
    // panel, which comes just before the wait, has been shown.
    std::promise<void> panelShown;
    app->setStartSyncHandler([&](QObject *) {
        steps << QStringLiteral("sync");
        app->operationsQueue().addOperation([&] {
            panelShown.get_future().wait_for(std::chrono::seconds(10));
            blockingCallOnMainThread([&] {
                steps << QStringLiteral("hop");
                finishingShown = app->window()->isFinishing();
                app->terminate(nullptr); // a second request while the first waits
                app->managedObjectContext()->insert<MyNote>()->setTitle(QStringLiteral("from the run"));
                // The user moves the pointer over the window: the platform queues the input.
                QPoint to = app->window()->windowHandle()->geometry().center();
                if (QCursor::pos() == to)
                    to += QPoint(1, 1);
                QCursor::setPos(to);
                turns.start();
            });
            turnsServed.get_future().wait_for(std::chrono::seconds(10));
            movedDuringWait = blockingCallOnMainThread([&] { return moves.count > 0; });
        });
    });
    app->setQuitPanelHandler([&] {
        steps << QStringLiteral("panel");
        panelShown.set_value();
    });

    app->terminate(nullptr);
    EXPECT_EQ(steps.join(u' '), QStringLiteral("sync panel hop"));
    EXPECT_TRUE(finishingShown);
    EXPECT_EQ(turnsCount, 5);
    EXPECT_FALSE(movedDuringWait) << "the user's input reached the window during the wait";
    EXPECT_TRUE(waitUntil([&] { return moves.count > 0; })) << "the input is held, not dropped";
    EXPECT_FALSE(app->window()->isFinishing());
    EXPECT_EQ(approved.count(), 1) << "the second request is ignored, not queued";
    EXPECT_FALSE(app->managedObjectContext()->hasChanges()) << "what the run changed is saved before quitting";
    EXPECT_TRUE(defaults.objectForKey(Key::MainWindowFrame).isValid());
    EXPECT_EQ(defaults.objectForKey(Key::lastUsedNotebook).toInt(), 0);
}

TEST_F(AppTest, QuitStartsASyncOnlyAfterTheFirstOneWithSyncingAndSyncAtQuitOn)
{
    auto app = launch();
    int syncs = 0;
    app->setStartSyncHandler([&](QObject *) { ++syncs; });
    Defaults &defaults = Defaults::standardUserDefaults();
    for (const auto &[firstSync, active, atQuit] :
         {std::tuple{true, true, true}, {false, false, true}, {false, true, false}, {false, true, true}}) {
        defaults.setBool(Key::firstSync, firstSync);
        defaults.setBool(Key::SyncingActive, active);
        defaults.setBool(Key::SyncWhenQuit, atQuit);
        syncs = 0;
        EXPECT_EQ(app->applicationShouldTerminate(), Kelvara_AppDelegate::TerminateNow);
        EXPECT_EQ(syncs, !firstSync && active && atQuit) << firstSync << active << atQuit;
    }
}

TEST_F(AppTest, AFailedSaveAtQuitCanBeCancelledAndKeepsTheChanges)
{
    auto app = launch();
    QSignalSpy approved(app.get(), &Kelvara_AppDelegate::terminationApproved);
    ManagedObjectContext *context = app->managedObjectContext();
    context->insert<MyNote>()->setTitle(QStringLiteral("Renew the passport"));
    SqliteDatabase &db = app->storeStack().persistentStoreCoordinator()->database();
    // A store that refuses new tasks, whatever connection writes to it.
    ASSERT_TRUE(db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON MyNote BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    RecordingErrorPresenter errors;

    auto answer = answerNextAlert(Localized::string(QStringLiteral("Cancel")));
    app->terminate(nullptr);
    EXPECT_EQ(answer->alerts, 1);
    EXPECT_EQ(errors.errors().size(), 1) << "the save error is presented before the question";
    EXPECT_EQ(approved.count(), 0);
    EXPECT_TRUE(context->hasChanges());
    EXPECT_FALSE(Defaults::standardUserDefaults().objectForKey(Key::MainWindowFrame).isValid())
        << "nothing of the quit happened";

    // The user can go on, and quit for good later.
    answer = answerNextAlert(Localized::string(QStringLiteral("Quit anyway")));
    app->terminate(nullptr);
    EXPECT_EQ(approved.count(), 1);
}

TEST_F(AppTest, TheNotebookSurvivesARestartClosedFromTheWindow)
{
    addNotebooks({QStringLiteral("Work")});
    {
        auto app = launch();
        QSignalSpy approved(app.get(), &Kelvara_AppDelegate::terminationApproved);
        app->notesViewController()->setSelectedNotebookIndex(1);
        app->window()->close();
        EXPECT_TRUE(app->window()->isVisible()) << "closing is a request to quit";
        ASSERT_TRUE(waitUntil([&] { return approved.count() == 1; }));
        EXPECT_TRUE(app->window()->close()) << "after the quit agreed, the window closes";
    }
    EXPECT_EQ(launch()->notesViewController()->selectedNotebookIndex(), 1);
}
