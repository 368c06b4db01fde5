#include "app/PreferencesController.h"
#include "app/SyncingParamPreferencesController.h"
#include "core/Localized.h"
#include "core/credentials/AGKeychain.h"
#include "core/credentials/SharedData.h"
#include "core/platform/SystemSound.h"
#include "tests/support/LogCapture.h"
#include "tests/support/RecordingErrorPresenter.h"
#include "tests/support/ViewTest.h"
#include "tests/support/fakeservice/FakeService.h"
#include "ui_Preferences.h"

#include <QDirIterator>
#include <QStandardPaths>
#include <QUuid>

namespace {
const QString itemName = QStringLiteral("Kelvara");
const QString itemKind = QStringLiteral("password");

class RecordingSyncDelegate : public SyncingParamPreferencesController
{
public:
    void SyncingParamDidChanged(PreferencesController *) override { ++paramChanges; }
    void SyncingParamFirstSync(PreferencesController *) override { ++firstSyncs; }
    bool DeleteDatabase(QObject *) override
    {
        ++deletes;
        return wipes;
    }
    int paramChanges = 0;
    int firstSyncs = 0;
    int deletes = 0;
    bool wipes = true;
};

// Sets an environment variable for the test's lifetime.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QString &value)
        : m_name(name), m_old(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, QFile::encodeName(value));
    }
    ~ScopedEnv() { m_had ? qputenv(m_name, m_old) : qunsetenv(m_name); }

private:
    const char *m_name;
    QByteArray m_old;
    bool m_had;
};

// The keyring is shared by test processes running in parallel: each test has an account of its own.
class PreferencesTest : public ::testing::Test
{
protected:
    static inline const QString Password = QStringLiteral("zebra-Quartz-91!");

    void SetUp() override
    {
        resetSettings();
        Localized::setLanguage(QStringLiteral("en"));
        service.exportEndpoints();
        service.addAccount(user.toStdString(), Password.toStdString());
    }
    void TearDown() override
    {
        AGKeychain::deleteKeychainItem(itemName, itemKind, user);
        SharedData::sharedManager()->setUserName(std::nullopt);
        SharedData::sharedManager()->setPassword(std::nullopt);
        Localized::setLanguage(QString());
    }

    std::unique_ptr<PreferencesController> open()
    {
        auto prefs = std::make_unique<PreferencesController>(&store.context());
        prefs->setSyncingDelegate(&delegate);
        prefs->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(prefs.get()));
        return prefs;
    }
    static bool editableLook(Ui::Preferences &ui)
    {
        const auto shown = [&ui](QWidget *w) { return w->isVisibleTo(ui.syncView); };
        return !ui.nombre->isReadOnly() && ui.nombre->hasFrame() && shown(ui.passw) && shown(ui.passLabel)
               && !shown(ui.warningLabel) && ui.saveUserButton->text() == QStringLiteral("Save");
    }
    static bool readOnlyLook(Ui::Preferences &ui)
    {
        const auto shown = [&ui](QWidget *w) { return w->isVisibleTo(ui.syncView); };
        return ui.nombre->isReadOnly() && !ui.nombre->hasFrame() && !shown(ui.passw) && !shown(ui.passLabel)
               && shown(ui.warningLabel) && ui.saveUserButton->text() == QStringLiteral("Reset");
    }
    static QStringList items(QComboBox *popUp)
    {
        QStringList result;
        for (int i = 0; i < popUp->count(); ++i)
            result << popUp->itemText(i);
        return result;
    }
    static void choose(QComboBox *popUp, int index)
    {
        popUp->setCurrentIndex(index);
        emit popUp->activated(index);
    }

    const QString user = QStringLiteral("prefs-%1").arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
    FakeService service;
    TempStore store;
    RecordingSyncDelegate delegate;
    RecordingErrorPresenter presenter;
    Defaults &defaults = Defaults::standardUserDefaults();
};
} // namespace

TEST_F(PreferencesTest, IntervalPopUpShowsTheSettingAndWritesTheChosenItem)
{
    const struct
    {
        double seconds;
        int index;
    } rows[] = {{0.0, 0}, {180.0, 2}, {300.0, 3}, {900.0, 4}, {1800.0, 5}, {3600.0, 6}, {600.0, 0}};
    for (const auto &row : rows) {
        defaults.setDouble(Key::SyncingInterval, row.seconds);
        PreferencesController prefs(&store.context());
        EXPECT_EQ(prefs.ui().popUp->currentIndex(), row.index) << row.seconds;
    }

    auto prefs = open();
    QComboBox *popUp = prefs->ui().popUp;
    ASSERT_EQ(popUp->count(), 7);
    EXPECT_EQ(popUp->itemText(0), QStringLiteral("Manually"));
    EXPECT_FALSE(popUp->itemData(1).isValid()) << "the second item is the separator";
    EXPECT_EQ(popUp->itemText(6), QStringLiteral("Every hour"));
    for (const auto &row : rows) {
        if (row.seconds == 600.0)
            continue;
        defaults.setDouble(Key::SyncingInterval, -1);
        choose(popUp, row.index);
        EXPECT_EQ(defaults.doubleForKey(Key::SyncingInterval), row.seconds);
    }
    prefs->changeSyncingInterval(42);
    EXPECT_EQ(defaults.doubleForKey(Key::SyncingInterval), 0.0);
    EXPECT_EQ(delegate.paramChanges, 7) << "every change restarts the timer";
}

TEST_F(PreferencesTest, CheckBoxesShowTheirSettingsAndWriteThemWhenClicked)
{
    const std::pair<QCheckBox *Ui::Preferences::*, const char *> boxes[] = {
        {&Ui::Preferences::checkBox, Key::SyncingActive},
        {&Ui::Preferences::colorsCheckBox, Key::blueTaskColors},
        {&Ui::Preferences::showStatusAtStart, Key::showTasksStatusPanel},
        {&Ui::Preferences::showStatusAtEnd, Key::showTasksStatusPanelAtEnd},
        {&Ui::Preferences::showDockTile, Key::ShowDockTile},
        {&Ui::Preferences::startViewCheckBox, Key::StartInTasksView},
        {&Ui::Preferences::notebookForCompletedCheckBox, Key::enableNotebookForCompleted},
        {&Ui::Preferences::syncWhenQuit, Key::SyncWhenQuit},
        {&Ui::Preferences::syncOnLaunch, Key::SyncOnLaunch},
        {&Ui::Preferences::searchInContent, Key::SearchInContent},
    };
    for (const auto &[box, key] : boxes)
        defaults.setBool(key, true);
    defaults.setObject(Key::UserName, user);
    auto prefs = open();
    NotificationRecorder posts({QStringLiteral("refreshTableView"), QStringLiteral("ShowDockTile")});
    for (const auto &[box, key] : boxes) {
        QCheckBox *widget = prefs->ui().*box;
        EXPECT_TRUE(widget->isChecked()) << key;
        widget->click();
        EXPECT_FALSE(defaults.boolForKey(key)) << key;
    }
    EXPECT_EQ(posts.names(prefs.get()).join(u','), QStringLiteral("refreshTableView,ShowDockTile"));
    EXPECT_EQ(delegate.paramChanges, 1);

    // Synchronisation switched on again puts the saved account's credentials to work.
    ASSERT_TRUE(AGKeychain::addKeychainItem(itemName, itemKind, user, Password));
    prefs->ui().checkBox->click();
    EXPECT_TRUE(defaults.boolForKey(Key::SyncingActive));
    EXPECT_EQ(SharedData::sharedManager()->userName(), user);
    EXPECT_EQ(SharedData::sharedManager()->password(), Password);
    EXPECT_EQ(delegate.paramChanges, 2);
}

TEST_F(PreferencesTest, ToolBarSwitchesPagesAndTheWindowTakesEachPagesSize)
{
    auto prefs = open();
    Ui::Preferences &ui = prefs->ui();
    const QPoint topLeft = prefs->geometry().topLeft();
    const struct
    {
        QAction *item;
        QWidget *page;
    } rows[] = {{ui.syncItem, ui.syncView}, {ui.updatesItem, ui.updatesView}, {ui.generalItem, ui.generalView}};
    for (const auto &row : rows) {
        row.item->trigger();
        ASSERT_TRUE(waitUntil([&] { return !prefs->isAnimatingFrame(); }));
        QCoreApplication::processEvents();
        EXPECT_TRUE(row.page->isVisible());
        EXPECT_TRUE(row.item->isChecked());
        EXPECT_EQ(ui.box->size(), row.page->size()) << row.page->objectName().toStdString();
        EXPECT_EQ(prefs->geometry().topLeft(), topLeft);
    }
    prefs->changeView(7);
    EXPECT_EQ(prefs->currentView(), PreferencesController::GeneralView);
}

TEST_F(PreferencesTest, AccountAreaIsEditableUntilTheFirstSyncAndReadOnlyAfter)
{
    {
        auto prefs = open();
        EXPECT_TRUE(editableLook(prefs->ui()));
        EXPECT_FALSE(prefs->validUser());
        EXPECT_FALSE(prefs->ui().progressIndicator->isVisible() || prefs->ui().stateIndicator->isVisible());
    }
    defaults.setBool(Key::firstSync, false);
    defaults.setObject(Key::UserName, user);
    auto prefs = open();
    prefs->changeView(PreferencesController::SyncView);
    EXPECT_TRUE(readOnlyLook(prefs->ui()));
    EXPECT_EQ(prefs->ui().nombre->text(), user);
    EXPECT_TRUE(prefs->validUser());
}

TEST_F(PreferencesTest, SavingAnAccountChecksItWithTheServiceAndKeepsThePasswordInTheKeychainOnly)
{
    LogCapture log;
    auto prefs = open();
    prefs->changeView(PreferencesController::SyncView);
    Ui::Preferences &ui = prefs->ui();
    const auto save = [&](const QString &name, const QString &password) {
        ui.nombre->setText(name);
        ui.passw->setText(password);
        ui.saveUserButton->click();
        if (prefs->isCheckingUser()) {
            EXPECT_TRUE(ui.progressIndicator->isVisible());
            ui.saveUserButton->click(); // ignored while the service answers
            prefs->saveUser();
        }
        EXPECT_TRUE(waitUntil([&] { return !prefs->isCheckingUser(); }, 30000));
        return ui.stateIndicator->text();
    };

    EXPECT_EQ(save(user, QString()), QStringLiteral("Enter your user name and your password."));
    EXPECT_EQ(save(QString(), Password), QStringLiteral("Enter your user name and your password."));
    EXPECT_EQ(service.callCount("authenticate"), 0);

    EXPECT_EQ(save(user, QStringLiteral("wrong")),
              QStringLiteral("The service did not accept this user name and password."));
    EXPECT_EQ(service.callCount("authenticate"), 1);
    EXPECT_FALSE(prefs->validUser());
    EXPECT_FALSE(defaults.objectForKey(Key::UserName).isValid());
    EXPECT_FALSE(defaults.boolForKey(Key::SyncingActive));
    EXPECT_FALSE(AGKeychain::checkForExistanceOfKeychainItem(itemName, itemKind, user));
    EXPECT_EQ(delegate.paramChanges, 0);
    EXPECT_TRUE(editableLook(ui));

    EXPECT_EQ(save(user, Password), QStringLiteral("The account is valid."));
    EXPECT_EQ(service.callCount("authenticate"), 2);
    EXPECT_TRUE(prefs->validUser());
    EXPECT_EQ(defaults.stringForKey(Key::UserName), user);
    EXPECT_EQ(AGKeychain::getPasswordFromKeychainItem(itemName, itemKind, user), Password);
    EXPECT_EQ(SharedData::sharedManager()->userName(), user);
    EXPECT_EQ(SharedData::sharedManager()->password(), Password);
    EXPECT_TRUE(defaults.boolForKey(Key::SyncingActive));
    EXPECT_TRUE(ui.checkBox->isChecked());
    EXPECT_EQ(delegate.paramChanges, 1);
    EXPECT_TRUE(ui.passw->text().isEmpty());
    EXPECT_TRUE(readOnlyLook(ui));
    EXPECT_TRUE(log.contains(QStringLiteral("Success")));

    const QByteArray secret = Password.toUtf8();
    for (const QString &line : log.lines())
        EXPECT_FALSE(line.contains(Password)) << line.toStdString();
    for (QDirIterator it(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(file.readAll().contains(secret)) << file.fileName().toStdString();
    }
}

TEST_F(PreferencesTest, WindowClosesOnlyWithAValidUserWhenSyncingAndStartsTheFirstSync)
{
    const struct
    {
        bool firstSync;
        bool syncing;
        bool userSaved;
        bool closes;
        int firstSyncs;
    } rows[] = {
        {true, true, false, false, 0}, {true, true, true, true, 1},    {true, false, true, true, 0},
        {false, true, true, true, 0},  {true, false, false, true, 0},
    };
    for (const auto &row : rows) {
        resetSettings();
        defaults.setBool(Key::firstSync, row.firstSync);
        defaults.setBool(Key::SyncingActive, row.syncing);
        if (row.userSaved)
            defaults.setObject(Key::UserName, user);
        delegate = RecordingSyncDelegate();
        auto prefs = open();
        EXPECT_EQ(prefs->close(), row.closes) << row.firstSync << row.syncing << row.userSaved;
        EXPECT_EQ(prefs->isVisible(), !row.closes);
        EXPECT_EQ(delegate.firstSyncs, row.firstSyncs) << row.firstSync << row.syncing << row.userSaved;
        if (!row.closes) {
            EXPECT_EQ(prefs->currentView(), PreferencesController::SyncView);
            EXPECT_TRUE(prefs->ui().stateIndicator->isVisible());
            EXPECT_FALSE(prefs->ui().stateIndicator->text().isEmpty());
            prefs->ui().checkBox->click(); // synchronisation off: now it may close
            EXPECT_TRUE(prefs->close());
        }
    }
}

TEST_F(PreferencesTest, ResetForgetsTheAccountOnlyWhenTheStoreWasWiped)
{
    defaults.setBool(Key::firstSync, false);
    defaults.setObject(Key::UserName, user);
    defaults.setBool(Key::SyncingActive, true);
    defaults.setInteger(Key::chunkHighUSN, 812);
    defaults.setInteger(Key::lastUsedNotebook, 3);
    defaults.setObject(Key::defaultNotebook, QStringLiteral("guid-1"));
    defaults.setObject(Key::notebookForCompleted, QStringLiteral("Done"));
    defaults.setBool(Key::enableNotebookForCompleted, true);
    defaults.setDouble(Key::SyncingInterval, 900.0);
    defaults.setBool(Key::ShowDockTile, false);
    ASSERT_TRUE(AGKeychain::addKeychainItem(itemName, itemKind, user, Password));
    SharedData::sharedManager()->setUserName(user);
    SharedData::sharedManager()->setPassword(Password);
    auto prefs = open();
    prefs->changeView(PreferencesController::SyncView);
    Ui::Preferences &ui = prefs->ui();

    const auto resetAnswering = [&](const QString &button) {
        ui.saveUserButton->click();
        ASSERT_TRUE(waitUntil([] { return visibleAlert() != nullptr; }));
        EXPECT_EQ(visibleAlert()->informativeText(), Localized::string(QStringLiteral("SURE_DELETE_ALL")));
        answerAlert(button);
    };
    const auto untouched = [&] {
        EXPECT_EQ(defaults.stringForKey(Key::UserName), user);
        EXPECT_TRUE(defaults.boolForKey(Key::SyncingActive));
        EXPECT_FALSE(defaults.boolForKey(Key::firstSync));
        EXPECT_EQ(defaults.integerForKey(Key::chunkHighUSN), 812);
        EXPECT_TRUE(AGKeychain::checkForExistanceOfKeychainItem(itemName, itemKind, user));
        EXPECT_EQ(SharedData::sharedManager()->password(), Password);
        EXPECT_TRUE(readOnlyLook(ui));
    };

    resetAnswering(QStringLiteral("Cancel"));
    EXPECT_EQ(delegate.deletes, 0);
    untouched();

    delegate.wipes = false;
    resetAnswering(QStringLiteral("Delete"));
    EXPECT_EQ(delegate.deletes, 1);
    untouched();

    delegate.wipes = true;
    resetAnswering(QStringLiteral("Delete"));
    EXPECT_EQ(delegate.deletes, 2);
    EXPECT_FALSE(defaults.boolForKey(Key::SyncingActive));
    EXPECT_FALSE(ui.checkBox->isChecked());
    EXPECT_TRUE(defaults.boolForKey(Key::firstSync));
    EXPECT_EQ(defaults.integerForKey(Key::chunkHighUSN), 0);
    EXPECT_EQ(defaults.integerForKey(Key::lastUsedNotebook), 0);
    EXPECT_FALSE(defaults.objectForKey(Key::defaultNotebook).isValid());
    EXPECT_FALSE(defaults.objectForKey(Key::notebookForCompleted).isValid());
    EXPECT_FALSE(defaults.boolForKey(Key::enableNotebookForCompleted));
    EXPECT_FALSE(ui.notebookForCompletedCheckBox->isChecked());
    EXPECT_FALSE(defaults.objectForKey(Key::UserName).isValid());
    EXPECT_FALSE(AGKeychain::checkForExistanceOfKeychainItem(itemName, itemKind, user));
    EXPECT_EQ(SharedData::sharedManager()->userName(), std::nullopt);
    EXPECT_EQ(SharedData::sharedManager()->password(), std::nullopt);
    EXPECT_EQ(defaults.doubleForKey(Key::SyncingInterval), 900.0);
    EXPECT_FALSE(defaults.boolForKey(Key::ShowDockTile));
    EXPECT_EQ(delegate.paramChanges, 0) << "a reset leaves the timer as it is";
    EXPECT_TRUE(editableLook(ui));
}

TEST_F(PreferencesTest, SoundsListComesFromTheSoundThemeAndTheUsersOwnSounds)
{
    QTemporaryDir dir;
    const auto touch = [&](const QString &path) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(dir.filePath(path)).path()));
        QFile file(dir.filePath(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    };
    for (const char *path : {"system/sounds/freedesktop/stereo/bell.oga", "system/sounds/freedesktop/stereo/Complete.oga",
                             "system/sounds/freedesktop/stereo/alarm-clock-elapsed.oga",
                             "data/sounds/freedesktop/stereo/bell.oga", "home/.local/share/sounds/zap.ogg",
                             "home/.local/share/sounds/ding.wav"})
        touch(QString::fromLatin1(path));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("home/.local/share/sounds/folder"))));
    ScopedEnv dataDirs("XDG_DATA_DIRS",
                       dir.filePath(QStringLiteral("system")) + u':' + dir.filePath(QStringLiteral("missing")));
    ScopedEnv dataHome("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")));
    ScopedEnv home("HOME", dir.filePath(QStringLiteral("home")));

    defaults.setObject(Key::completedSound, QStringLiteral("bell"));
    auto prefs = open();
    QComboBox *sounds = prefs->ui().soundsPopUp;
    EXPECT_EQ(items(sounds).join(u','), QStringLiteral("None,alarm-clock-elapsed,bell,bell,Complete,ding,zap"));
    EXPECT_EQ(sounds->currentText(), QStringLiteral("bell"));

    const int played = SystemSound::playCount();
    choose(sounds, 0);
    EXPECT_EQ(defaults.stringForKey(Key::completedSound), QStringLiteral("None"));
    EXPECT_EQ(SystemSound::playCount(), played);
    choose(sounds, 6);
    EXPECT_EQ(defaults.stringForKey(Key::completedSound), QStringLiteral("zap"));
    EXPECT_EQ(SystemSound::lastPlayed(), QStringLiteral("zap"));

    defaults.setObject(Key::completedSound, QStringLiteral("Pop"));
    PreferencesController again(&store.context());
    EXPECT_EQ(again.ui().soundsPopUp->currentIndex(), -1) << "a sound that is not installed";
}

TEST_F(PreferencesTest, CompletedNotebookPopUpListsVisibleNotebooksByName)
{
    store.notebook(QStringLiteral("zeta"));
    MyNotebook *alpha = store.notebook(QStringLiteral("Alpha"));
    store.notebook(QStringLiteral("gone"))->setDeleted(true);
    store.context().setValue(store.notebook(QStringLiteral("hidden")), QStringLiteral("hide"), true);
    defaults.setObject(Key::notebookForCompleted, QStringLiteral("zeta"));
    auto prefs = open();
    QComboBox *popUp = prefs->ui().notebookForCompletedPopUp;
    const QStringList names = items(popUp);
    EXPECT_FALSE(names.contains(QStringLiteral("gone")) || names.contains(QStringLiteral("hidden")));
    EXPECT_LT(names.indexOf(QStringLiteral("Alpha")), names.indexOf(QStringLiteral("zeta")));
    EXPECT_EQ(popUp->currentText(), QStringLiteral("zeta"));
    EXPECT_EQ(prefs->notebookForCompleted()->name(), QStringLiteral("zeta"));

    store.notebook(QStringLiteral("Aardvark"));
    prefs->rearrangeArray();
    EXPECT_EQ(popUp->currentText(), QStringLiteral("zeta")) << "a new notebook leaves the choice alone";
    choose(popUp, popUp->findText(QStringLiteral("Alpha")));
    EXPECT_EQ(prefs->notebookForCompleted(), alpha);
    EXPECT_EQ(defaults.stringForKey(Key::notebookForCompleted), QStringLiteral("Alpha"));

    defaults.removeObjectForKey(Key::notebookForCompleted);
    PreferencesController none(&store.context());
    EXPECT_EQ(none.notebookForCompleted(), nullptr);
    EXPECT_EQ(none.ui().notebookForCompletedPopUp->currentIndex(), -1);
}
