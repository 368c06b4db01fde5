#include "core/Defaults.h"
#include "core/SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QThread>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/DiesWithParent.h"

namespace {
QString settingsFilePath()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kelvara"), QStringLiteral("Kelvara"))
        .fileName();
}
} // namespace

class DefaultsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        defaults().resetForTesting();
        defaults().registerDefaults(SettingsKeys::registeredDefaults());
    }
    static Defaults &defaults() { return Defaults::standardUserDefaults(); }
};

TEST_F(DefaultsTest, FirstLaunchReadsTheRegisteredDefaultsAndAbsentKeysReadAsNone)
{
    const std::pair<const char *, bool> booleans[] = {
        {Key::SyncingActive, false},        {Key::firstSync, true},
        {Key::blueTaskColors, true},        {Key::showTasksStatusPanel, true},
        {Key::showTasksStatusPanelAtEnd, true}, {Key::StartInTasksView, true},
        {Key::enableNotebookForCompleted, false}, {Key::SyncWhenQuit, false},
        {Key::SyncOnLaunch, true},          {Key::SearchInContent, false},
        {Key::ShowDockTile, true},
    };
    for (const auto &[key, expected] : booleans) {
        EXPECT_EQ(defaults().boolForKey(key), expected) << key;
        EXPECT_EQ(defaults().objectForKey(key).typeId(), QMetaType::Bool) << key << " is registered as a boolean";
    }
    EXPECT_EQ(defaults().doubleForKey(Key::SyncingInterval), 0.0);
    EXPECT_TRUE(defaults().objectForKey(Key::SyncingInterval).isValid());
    for (const char *key : {Key::chunkHighUSN, Key::notesOrder}) {
        EXPECT_TRUE(defaults().objectForKey(key).isValid()) << key;
        EXPECT_EQ(defaults().integerForKey(key), 0) << key;
    }
    EXPECT_EQ(defaults().stringForKey(Key::completedSound), QStringLiteral("Pop"));
    EXPECT_FALSE(defaults().objectForKey(Key::MainWindowFrame).isValid());

    for (const char *key : {Key::UserName, Key::notebookForCompleted, Key::defaultNotebook, Key::lastUsedNotebook}) {
        EXPECT_FALSE(defaults().objectForKey(key).isValid()) << key;
        EXPECT_TRUE(defaults().stringForKey(key).isNull()) << key;
        EXPECT_EQ(defaults().integerForKey(key), 0) << key;
        EXPECT_FALSE(defaults().boolForKey(key)) << key;
    }
    EXPECT_EQ(SettingsKeys::intervals().size(), 6u);
    EXPECT_EQ(SettingsKeys::intervals().back().seconds, ONEHOUR);
}

TEST_F(DefaultsTest, WrittenValuesKeepTheirTypeAcrossAFreshReadOfTheFile)
{
    defaults().setBool(Key::SyncingActive, true);
    defaults().setBool(Key::ShowDockTile, false);
    defaults().setDouble(Key::SyncingInterval, FIFTEENMINUTES);
    defaults().setInteger(Key::chunkHighUSN, 2147483000);
    defaults().setObject(Key::UserName, QStringLiteral("zoë"));

    // What another process (the next launch) reads from the file.
    QSettings file(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kelvara"), QStringLiteral("Kelvara"));
    EXPECT_EQ(file.value(Key::UserName).toString(), QStringLiteral("zoë"));

    EXPECT_TRUE(defaults().boolForKey(Key::SyncingActive));
    EXPECT_FALSE(defaults().boolForKey(Key::ShowDockTile));
    EXPECT_EQ(defaults().doubleForKey(Key::SyncingInterval), 900.0);
    EXPECT_EQ(defaults().integerForKey(Key::chunkHighUSN), 2147483000);

    defaults().removeObjectForKey(Key::ShowDockTile);
    EXPECT_TRUE(defaults().boolForKey(Key::ShowDockTile)) << "removing a key falls back to its default";
    defaults().removeObjectForKey(Key::UserName);
    EXPECT_TRUE(defaults().stringForKey(Key::UserName).isNull());
}

TEST_F(DefaultsTest, AWriteOnAWorkerIsSeenAtOnceOnTheMainThread)
{
    QThread *worker = QThread::create([] {
        for (int i = 1; i <= 200; ++i)
            Defaults::standardUserDefaults().setInteger(Key::chunkHighUSN, i);
    });
    worker->start();
    qint64 last = 0;
    while (!worker->isFinished()) {
        const qint64 now = defaults().integerForKey(Key::chunkHighUSN);
        EXPECT_GE(now, last) << "reads never go back in time";
        last = now;
    }
    worker->wait();
    delete worker;
    EXPECT_EQ(defaults().integerForKey(Key::chunkHighUSN), 200);
}

TEST_F(DefaultsTest, BooleansWrittenByAnEarlierLaunchReadBackFromTheFile)
{
    // The earlier launch is another process: what this one reads comes from the file alone.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dieWithParent();
        Defaults &earlier = Defaults::standardUserDefaults();
        earlier.setBool(Key::SyncingActive, true);
        earlier.setBool(Key::firstSync, false);
        earlier.setBool(Key::ShowDockTile, false);
        earlier.setBool(Key::SearchInContent, true);
        earlier.setBool(Key::StartInTasksView, false);
        earlier.setDouble(Key::SyncingInterval, THIRTYMINUTES);
        earlier.setInteger(Key::notesOrder, 3);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    defaults().reloadForTesting();
    EXPECT_TRUE(defaults().boolForKey(Key::SyncingActive));
    EXPECT_FALSE(defaults().boolForKey(Key::firstSync));
    EXPECT_FALSE(defaults().boolForKey(Key::ShowDockTile));
    EXPECT_TRUE(defaults().boolForKey(Key::SearchInContent));
    EXPECT_FALSE(defaults().boolForKey(Key::StartInTasksView));
    EXPECT_TRUE(defaults().boolForKey(Key::blueTaskColors)) << "a key never written keeps its default";
    EXPECT_EQ(defaults().objectForKey(Key::ShowDockTile), QVariant(false)) << "read as a boolean, not as its text";
    EXPECT_EQ(defaults().doubleForKey(Key::SyncingInterval), 1800.0);
    EXPECT_EQ(defaults().integerForKey(Key::notesOrder), 3);
}

TEST_F(DefaultsTest, AStoredValueOfTheWrongTypeOrOutOfRangeReadsAsTheDefault)
{
    // A settings file edited by hand, or left by another program's idea of the keys.
    // On a first launch nothing has made the settings folder yet.
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settingsFilePath()).path()));
    QFile file(settingsFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\n"
               "SyncingActive=maybe\n"
               "ShowDockTile=2\n"
               "firstSync=\n"
               "blueTaskColors=false\n"
               "SyncingInterval=abc\n"
               "chunkHighUSN=-5\n"
               "notesOrder=4\n"
               "lastUsedNotebook=-1\n"
               "MainWindowFrame=not a frame\n"
               "completedSound=Glass\n");
    file.close();
    defaults().reloadForTesting();

    EXPECT_FALSE(defaults().boolForKey(Key::SyncingActive));
    EXPECT_TRUE(defaults().boolForKey(Key::ShowDockTile));
    EXPECT_TRUE(defaults().boolForKey(Key::firstSync));
    EXPECT_FALSE(defaults().boolForKey(Key::blueTaskColors)) << "a good value beside the bad ones is read";
    EXPECT_EQ(defaults().doubleForKey(Key::SyncingInterval), 0.0);
    EXPECT_EQ(defaults().integerForKey(Key::chunkHighUSN), 0);
    EXPECT_EQ(defaults().integerForKey(Key::notesOrder), 0);
    EXPECT_FALSE(defaults().objectForKey(Key::lastUsedNotebook).isValid()) << "no default: it reads as absent";
    EXPECT_FALSE(defaults().objectForKey(Key::MainWindowFrame).isValid());
    EXPECT_EQ(defaults().stringForKey(Key::completedSound), QStringLiteral("Glass"));

    // The same rules hold for values written in this run.
    defaults().setDouble(Key::SyncingInterval, -180.0);
    EXPECT_EQ(defaults().doubleForKey(Key::SyncingInterval), 0.0);
    defaults().setDouble(Key::SyncingInterval, 200.0);
    EXPECT_EQ(defaults().doubleForKey(Key::SyncingInterval), 0.0) << "not one of the six intervals";
    defaults().setDouble(Key::SyncingInterval, FIVEMINUTES);
    EXPECT_EQ(defaults().doubleForKey(Key::SyncingInterval), 300.0);
    defaults().setInteger(Key::chunkHighUSN, qint64(1) << 33);
    EXPECT_EQ(defaults().integerForKey(Key::chunkHighUSN), 0) << "sequence numbers are 32-bit";
    defaults().setInteger(Key::notesOrder, 3);
    EXPECT_EQ(defaults().integerForKey(Key::notesOrder), 3);
    defaults().setObject(Key::notesOrder, QStringLiteral("1.5"));
    EXPECT_EQ(defaults().integerForKey(Key::notesOrder), 0);
}
