#include "app/PreferencesController.h"
#include "app/SyncingParamPreferencesController.h"
#include "core/Localized.h"
#include "core/credentials/AGKeychain.h"
#include "core/credentials/SharedData.h"
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
    // Editable until the first run: a framed name, the password, Save; after it a read-only name,
    // the warning, Reset.
    static bool accountLooks(Ui::Preferences &ui, bool editable)
    {
        const auto shown = [&ui](QWidget *w) { return w->isVisibleTo(ui.syncView); };
        return ui.nombre->isReadOnly() != editable && ui.nombre->hasFrame() == editable && shown(ui.passw) == editable
               && shown(ui.passLabel) == editable && shown(ui.warningLabel) != editable
               && ui.saveUserButton->text() == (editable ? QStringLiteral("Save") : QStringLiteral("Reset"));
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
    // 600 s is no item of the menu; the separator after the first item writes nothing.
    const std::pair<double, int> rows[] = {{0.0, 0}, {3600.0, 6}, {600.0, 0}};
    for (const auto &[seconds, index] : rows) {
        defaults.setDouble(Key::SyncingInterval, seconds);
        PreferencesController prefs(&store.context());
        EXPECT_EQ(prefs.ui().popUp->currentIndex(), index) << seconds;
    }

    auto prefs = open();
    QComboBox *popUp = prefs->ui().popUp;
    for (const auto &[seconds, index] : rows) {
        const bool separator = seconds == 600.0;
        defaults.setDouble(Key::SyncingInterval, separator ? ONEHOUR : -1);
        choose(popUp, separator ? 1 : index);
        EXPECT_EQ(defaults.doubleForKey(Key::SyncingInterval), separator ? ONEHOUR : seconds) << seconds;
    }
    EXPECT_EQ(delegate.paramChanges, 2) << "every change but the separator restarts the timer";
}

TEST_F(PreferencesTest, CheckBoxesShowTheirSettingsAndWriteThemWhenClicked)
{
    const std::pair<QCheckBox *Ui::Preferences::*, const char *> boxes[] = {
        {&Ui::Preferences::checkBox, Key::SyncingActive},
        {&Ui::Preferences::colorsCheckBox, Key::blueTaskColors},
        {&Ui::Preferences::showDockTile, Key::ShowDockTile},
        {&Ui::Preferences::syncWhenQuit, Key::SyncWhenQuit},
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

TEST_F(PreferencesTest, SavingAnAccountChecksItWithTheServiceAndKeepsThePasswordInTheKeychainOnly)
{
    LogCapture log;
    auto prefs = open();
    prefs->changeView(PreferencesController::SyncView);
    Ui::Preferences &ui = prefs->ui();
    EXPECT_TRUE(accountLooks(ui, true));
    EXPECT_FALSE(prefs->validUser());
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

    save(user, QString());
    save(QString(), Password);
    EXPECT_EQ(service.callCount("authenticate"), 0);

    const QString refusal = save(user, QStringLiteral("wrong"));
    EXPECT_EQ(service.callCount("authenticate"), 1);
    EXPECT_FALSE(prefs->validUser());
    EXPECT_FALSE(defaults.objectForKey(Key::UserName).isValid());
    EXPECT_FALSE(defaults.boolForKey(Key::SyncingActive));
    EXPECT_FALSE(AGKeychain::checkForExistanceOfKeychainItem(itemName, itemKind, user));
    EXPECT_EQ(delegate.paramChanges, 0);
    EXPECT_TRUE(accountLooks(ui, true));

    EXPECT_NE(save(user, Password), refusal);
    EXPECT_EQ(service.callCount("authenticate"), 2);
    EXPECT_TRUE(prefs->validUser());
    EXPECT_EQ(defaults.stringForKey(Key::UserName), user);
    EXPECT_EQ(AGKeychain::getPasswordFromKeychainItem(itemName, itemKind, user), Password);
    EXPECT_EQ(SharedData::sharedManager()->userName(), user);
    EXPECT_EQ(SharedData::sharedManager()->password(), Password);
    EXPECT_TRUE(defaults.boolForKey(Key::SyncingActive));
    EXPECT_EQ(delegate.paramChanges, 1);
    EXPECT_TRUE(ui.passw->text().isEmpty());
    EXPECT_TRUE(accountLooks(ui, false));

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
        EXPECT_EQ(delegate.firstSyncs, row.firstSyncs) << row.firstSync << row.syncing << row.userSaved;
        if (!row.closes) {
            EXPECT_EQ(prefs->currentView(), PreferencesController::SyncView);
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
    ASSERT_TRUE(AGKeychain::addKeychainItem(itemName, itemKind, user, Password));
    SharedData::sharedManager()->setUserName(user);
    SharedData::sharedManager()->setPassword(Password);
    auto prefs = open();
    prefs->changeView(PreferencesController::SyncView);
    Ui::Preferences &ui = prefs->ui();
    EXPECT_EQ(ui.nombre->text(), user);
    EXPECT_TRUE(prefs->validUser());

    const auto resetAnswering = [&](const QString &button) {
        ui.saveUserButton->click();
        ASSERT_TRUE(waitUntil([] { return visibleAlert() != nullptr; }));
        EXPECT_EQ(visibleAlert()->informativeText(), Localized::string(QStringLiteral("SURE_DELETE_ALL")));
        answerAlert(button);
    };
    // What a reset touches, as "name=value" pairs ("-" for a setting that is gone).
    const auto account = [&] {
        QStringList pairs;
        const auto add = [&](const char *name, const QVariant &value) {
            pairs << QLatin1String(name) + u'=' + (value.isValid() ? value.toString() : QStringLiteral("-"));
        };
        add("user", defaults.objectForKey(Key::UserName));
        add("syncing", defaults.boolForKey(Key::SyncingActive) || ui.checkBox->isChecked());
        add("first", defaults.boolForKey(Key::firstSync));
        add("usn", defaults.integerForKey(Key::chunkHighUSN));
        add("last", defaults.integerForKey(Key::lastUsedNotebook));
        add("default", defaults.objectForKey(Key::defaultNotebook));
        add("completed", defaults.objectForKey(Key::notebookForCompleted));
        add("enabled", defaults.boolForKey(Key::enableNotebookForCompleted) || ui.notebookForCompletedCheckBox->isChecked());
        add("keychain", AGKeychain::checkForExistanceOfKeychainItem(itemName, itemKind, user));
        SharedData *shared = SharedData::sharedManager();
        add("shared", shared->userName().value_or(QStringLiteral("-")) + u'/' + shared->password().value_or(QStringLiteral("-")));
        add("editable", accountLooks(ui, true) ? 1 : accountLooks(ui, false) ? 0 : -1);
        return pairs.join(u' ');
    };
    const QString before = account();
    EXPECT_EQ(before, QStringLiteral("user=%1 syncing=true first=false usn=812 last=3 default=guid-1 completed=Done enabled=true "
                                     "keychain=true shared=%1/%2 editable=0").arg(user, Password));

    resetAnswering(QStringLiteral("Cancel"));
    EXPECT_EQ(delegate.deletes, 0);
    EXPECT_EQ(account(), before);
    delegate.wipes = false;
    resetAnswering(QStringLiteral("Delete"));
    EXPECT_EQ(delegate.deletes, 1);
    EXPECT_EQ(account(), before);

    // The timer is left as it is.
    delegate.wipes = true;
    resetAnswering(QStringLiteral("Delete"));
    EXPECT_EQ(delegate.deletes, 2);
    EXPECT_EQ(account(), QStringLiteral("user=- syncing=false first=true usn=0 last=0 default=- completed=- enabled=false "
                                        "keychain=false shared=-/- editable=1"));
    EXPECT_EQ(delegate.paramChanges, 0);
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
    EXPECT_EQ(prefs->notebookForCompleted()->name(), QStringLiteral("zeta"));

    store.notebook(QStringLiteral("Aardvark"));
    prefs->rearrangeArray();
    EXPECT_EQ(popUp->currentText(), QStringLiteral("zeta")) << "a new notebook leaves the choice alone";
    choose(popUp, popUp->findText(QStringLiteral("Alpha")));
    EXPECT_EQ(prefs->notebookForCompleted(), alpha);
    EXPECT_EQ(defaults.stringForKey(Key::notebookForCompleted), QStringLiteral("Alpha"));

    defaults.removeObjectForKey(Key::notebookForCompleted);
    EXPECT_EQ(PreferencesController(&store.context()).notebookForCompleted(), nullptr);
}
