#include "tests/ui/AppTest.h"

#include "content/DueDateContent.h"
#include "core/Localized.h"
#include "core/OperationQueue.h"
#include "core/credentials/SharedData.h"
#include "core/store/MyNote.h"
#include "app/PreferencesController.h"
#include "app/QuitWaitPanel.h"
#include "core/credentials/AGKeychain.h"
#include "ui_Preferences.h"
#include "sync/SyncDriver.h"
#include "ui/ArrayController.h"
#include "ui/NotesViewController.h"
#include "tests/support/fakeservice/FakeService.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>

namespace {

// The application over Alice's account on the fake service, her credentials in place as the
// preferences window leaves them.
class AppSyncTest : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        service.exportEndpoints();
        Localized::setLanguage(QStringLiteral("en"));
        SharedData::sharedManager()->setUserName(QStringLiteral("alice"));
        SharedData::sharedManager()->setPassword(QStringLiteral("secret"));
    }
    void TearDown() override
    {
        SharedData::sharedManager()->setUserName(std::nullopt);
        SharedData::sharedManager()->setPassword(std::nullopt);
        Localized::setLanguage(QString());
    }
    static void setSyncing(bool active, bool firstSync, double interval = MANUALLY)
    {
        Defaults &defaults = Defaults::standardUserDefaults();
        defaults.setBool(Key::SyncingActive, active);
        defaults.setBool(Key::firstSync, firstSync);
        defaults.setDouble(Key::SyncingInterval, interval);
    }
    static bool idle(Kelvara_AppDelegate &app)
    {
        return waitUntil([&] { return app.syncDriver().outstanding() == 0 && !app.window()->syncLabel()->isVisible(); }, 15000);
    }
    static MyNote *taskTitled(Kelvara_AppDelegate &app, const QString &title)
    {
        const QList<ManagedObject *> found = app.managedObjectContext()->fetch(
            QStringLiteral("MyNote"), Predicate::withFormat(QStringLiteral("title == %@"), {title}));
        return found.isEmpty() ? nullptr : static_cast<MyNote *>(found.first());
    }

    FakeService service;
    FakeAccount &alice = service.addAccount("alice", "secret");
};

} // namespace

// Triggers while a run waits unstarted add nothing, and the status stays up until the last
// run has ended; a failed run shows the no-connection sign, the next one clears it.
TEST_F(AppSyncTest, TriggersDoNotPileUpAndAFailureShowsItsReason)
{
    setSyncing(true, false);
    auto app = launch();
    service.inject("authenticate", FakeFault::delay(std::chrono::milliseconds(300)));
    for (int i = 0; i < 5; ++i)
        app->startSync(nullptr);
    EXPECT_LE(app->syncDriver().outstanding(), 2);
    ASSERT_TRUE(waitUntil([&] { return app->syncDriver().outstanding() == 1; }, 5000));
    EXPECT_TRUE(app->window()->syncLabel()->isVisible());
    ASSERT_TRUE(idle(*app));
    EXPECT_LE(service.callCount("authenticate"), 2);

    service.inject("getSyncChunk", FakeFault::httpStatus(503));
    app->startSync(nullptr);
    ASSERT_TRUE(idle(*app));
    EXPECT_TRUE(app->window()->noConectionView()->isVisible());
    app->startSync(nullptr);
    ASSERT_TRUE(idle(*app));
    EXPECT_FALSE(app->window()->noConectionView()->isVisible());

    // While the first run is due, the sync button makes one.
    setSyncing(true, true);
    app->window()->action(MainWindow::Synchronise)->trigger();
    ASSERT_TRUE(idle(*app));
    EXPECT_FALSE(Defaults::standardUserDefaults().boolForKey(Key::firstSync));
}

// The periodic timer follows the settings: none while manual or before the first run, the
// interval chosen otherwise, replaced when it changes.
TEST_F(AppSyncTest, TheTimerFollowsTheSettings)
{
    setSyncing(true, true, FIVEMINUTES);
    auto app = launch();
    app->restartTimerSync();
    EXPECT_FALSE(app->syncDriver().timerActive()); // the first run is still due

    struct Row
    {
        bool active;
        double interval;
        int expectedMs; // 0: no timer
    };
    for (const Row &row : {Row{true, FIFTEENMINUTES, 900'000}, Row{true, MANUALLY, 0},
                           Row{false, ONEHOUR, 0}}) {
        setSyncing(row.active, false, row.interval);
        app->SyncingParamDidChanged(nullptr);
        EXPECT_EQ(app->syncDriver().timerActive() ? app->syncDriver().timerInterval() : 0, row.expectedMs) << row.interval;
    }
}

// A quit that would wait on a service that does not answer shows a panel; Quit Now ends
// the run at once, the edit it did not send stays marked, and the store is saved.
TEST_F(AppSyncTest, QuitNowEndsARunThatWaitsOnASilentService)
{
    setSyncing(true, false);
    auto app = launch();
    MyNote *task = app->managedObjectContext()->insert<MyNote>();
    task->setTitle(QStringLiteral("Water the plants"));
    task->setNotebook(static_cast<MyNotebook *>(app->managedObjectContext()->fetch(QStringLiteral("MyNotebook")).first()));
    service.inject("getSyncChunk", FakeFault::delay(std::chrono::seconds(20)));
    app->startSync(nullptr);
    ASSERT_TRUE(waitUntil([&] { return service.callCount("getSyncChunk") == 1; }));

    auto seen = onNextModal([] { return qobject_cast<QuitWaitPanel *>(QApplication::activeModalWidget()); },
                            [](QWidget *panel) { static_cast<QuitWaitPanel *>(panel)->quitNowButton()->click(); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(app->applicationShouldTerminate(), Kelvara_AppDelegate::TerminateNow);
    EXPECT_TRUE(*seen);
    EXPECT_LT(clock.elapsed(), 10'000);
    EXPECT_EQ(service.callCount("createNote"), 0);

    StoreStack reopened(storeFolder());
    app.reset();
    const QList<ManagedObject *> saved = reopened.managedObjectContext()->fetch(
        QStringLiteral("MyNote"), Predicate::withFormat(QStringLiteral("title == %@"), {QStringLiteral("Water the plants")}));
    ASSERT_EQ(saved.size(), 1);
    EXPECT_TRUE(static_cast<MyNote *>(saved.first())->needUpdate());
}

// The whole path as a user walks it: the sync button refuses while syncing is off, the
// preferences refuse a wrong password and keep the right one in the keychain, closing them
// starts the first run that brings the account's tasks into the open list, an edit goes out with
// the sync button, and the reset wipes the store and the account and stops the timer.
TEST_F(AppSyncTest, FromThePreferencesToTheFirstRunAndBackThroughTheReset)
{
    const QString user = QStringLiteral("walker%1").arg(QCoreApplication::applicationPid());
    FakeAccount &account = service.addAccount(user.toStdString(), "right-Password-7");
    account.addNote("Call the plumber", "<en-note><div>.DT.2026-12-21</div></en-note>");
    SharedData::sharedManager()->setUserName(std::nullopt);
    SharedData::sharedManager()->setPassword(std::nullopt);
    Defaults::standardUserDefaults().setDouble(Key::SyncingInterval, FIVEMINUTES);
    auto app = launch();
    QAction *button = app->window()->action(MainWindow::Synchronise);
    auto refused = answerNextAlert(QStringLiteral("OK"));
    button->trigger();
    ASSERT_TRUE(waitUntil([&] { return refused->alerts == 1; }));
    EXPECT_EQ(app->syncDriver().outstanding(), 0);
    EXPECT_FALSE(app->window()->syncLabel()->isVisible());

    app->window()->action(MainWindow::Preferences)->trigger();
    PreferencesController *prefs = app->preferencesController();
    ASSERT_TRUE(prefs && prefs->isVisible());
    prefs->changeView(PreferencesController::SyncView);
    const auto save = [&](const QString &password) {
        prefs->ui().nombre->setText(user);
        prefs->ui().passw->setText(password);
        prefs->ui().saveUserButton->click();
        EXPECT_TRUE(waitUntil([&] { return !prefs->isCheckingUser(); }, 30000));
    };
    const QString kelvara = QStringLiteral("Kelvara");
    const QString kind = QStringLiteral("password");
    // The service's refusal comes as an error pane, answered before anything else is asked.
    auto refusal = answerNextAlert(QStringLiteral("OK"));
    save(QStringLiteral("wrong"));
    ASSERT_TRUE(waitUntil([&] { return refusal->alerts == 1; }));
    save(QStringLiteral("right-Password-7"));
    EXPECT_TRUE(AGKeychain::checkForExistanceOfKeychainItem(kelvara, kind, user));

    prefs->close();
    EXPECT_TRUE(app->window()->syncLabel()->isVisible());
    ASSERT_TRUE(idle(*app));
    EXPECT_FALSE(app->preferencesController());
    MyNote *plumber = taskTitled(*app, QStringLiteral("Call the plumber"));
    ASSERT_TRUE(plumber);
    QStringList notebooks;
    for (ManagedObject *notebook : app->notesViewController()->notebookList()->arrangedObjects())
        notebooks << notebook->value(QStringLiteral("name")).toString();
    EXPECT_TRUE(notebooks.contains(QStringLiteral("%1's notebook").arg(user))) << notebooks.join(u',').toStdString();
    EXPECT_FALSE(Defaults::standardUserDefaults().boolForKey(Key::firstSync));
    EXPECT_FALSE(app->window()->noConectionView()->isVisible());

    plumber->setTitle(QStringLiteral("Call the plumber about the boiler"));
    button->trigger();
    ASSERT_TRUE(idle(*app));
    EXPECT_EQ(account.notes().front().title, "Call the plumber about the boiler");

    app->SyncingParamDidChanged(nullptr); // the periodic runs begin with the next settings change
    ASSERT_TRUE(app->syncDriver().timerActive());
    app->window()->action(MainWindow::Preferences)->trigger();
    prefs = app->preferencesController();
    prefs->changeView(PreferencesController::SyncView);
    auto answered = answerNextAlert(QStringLiteral("Delete"));
    prefs->ui().saveUserButton->click();
    ASSERT_TRUE(waitUntil([&] { return answered->alerts == 1; }));
    EXPECT_FALSE(taskTitled(*app, QStringLiteral("Call the plumber about the boiler")));
    EXPECT_FALSE(Defaults::standardUserDefaults().objectForKey(Key::UserName).isValid());
    EXPECT_FALSE(AGKeychain::checkForExistanceOfKeychainItem(kelvara, kind, user));
    EXPECT_TRUE(waitUntil([&] { return !app->syncDriver().timerActive(); }));
    prefs->close();
}

// At launch, syncing on with a saved user: the keychain item gives the password and, with
// "SyncOnLaunch", a run starts (a first one while "firstSync" holds, with no timer); without the
// item nothing starts until the user acts.
TEST_F(AppSyncTest, TheLaunchSyncsOnlyWithTheUsersKeychainItem)
{
    const QString user = QStringLiteral("launcher%1").arg(QCoreApplication::applicationPid());
    FakeAccount &account = service.addAccount(user.toStdString(), "launch-Password-3");
    account.addNote("Book the train");
    SharedData::sharedManager()->setUserName(std::nullopt);
    SharedData::sharedManager()->setPassword(std::nullopt);
    setSyncing(true, true, FIVEMINUTES);
    Defaults::standardUserDefaults().setObject(Key::UserName, user);
    {
        auto app = launch();
        EXPECT_EQ(app->syncDriver().outstanding(), 0);
        EXPECT_FALSE(app->syncDriver().timerActive());
        EXPECT_EQ(SharedData::sharedManager()->password(), std::nullopt);
    }
    const QString kelvara = QStringLiteral("Kelvara");
    ASSERT_TRUE(AGKeychain::addKeychainItem(kelvara, QStringLiteral("password"), user, QStringLiteral("launch-Password-3")));
    auto app = launch();
    EXPECT_FALSE(app->syncDriver().timerActive()); // not while the first run is due
    ASSERT_TRUE(idle(*app));
    EXPECT_TRUE(taskTitled(*app, QStringLiteral("Book the train")));
    EXPECT_FALSE(Defaults::standardUserDefaults().boolForKey(Key::firstSync));
    EXPECT_TRUE(AGKeychain::deleteKeychainItem(kelvara, QStringLiteral("password"), user));
}
