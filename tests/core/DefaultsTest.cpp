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

class DefaultsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        defaults().resetForTesting();
        defaults().registerDefaults(SettingsKeys::registeredDefaults());
    }
    static Defaults &defaults() { return Defaults::standardUserDefaults(); }
    static QString settingsFilePath()
    {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kelvara"), QStringLiteral("Kelvara"))
            .fileName();
    }
};

TEST_F(DefaultsTest, ALaterLaunchReadsWhatTheEarlierWroteInItsType)
{
    // The earlier launch is another process: what this one reads comes from the file alone.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dieWithParent();
        Defaults &earlier = Defaults::standardUserDefaults();
        earlier.setBool(Key::ShowDockTile, false);
        earlier.setDouble(Key::SyncingInterval, THIRTYMINUTES);
        earlier.setInteger(Key::chunkHighUSN, 2147483000);
        earlier.setObject(Key::UserName, QStringLiteral("zoë"));
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    defaults().reloadForTesting();
    EXPECT_EQ(defaults().objectForKey(Key::ShowDockTile), QVariant(false)) << "read as a boolean, not as its always-true text";
    EXPECT_TRUE(defaults().boolForKey(Key::blueTaskColors)) << "a key never written keeps its default";
    EXPECT_EQ(defaults().doubleForKey(Key::SyncingInterval), 1800.0);
    EXPECT_EQ(defaults().integerForKey(Key::chunkHighUSN), 2147483000);
    EXPECT_EQ(defaults().stringForKey(Key::UserName), QStringLiteral("zoë"));

    defaults().removeObjectForKey(Key::ShowDockTile);
    EXPECT_TRUE(defaults().boolForKey(Key::ShowDockTile)) << "removing a key falls back to its default";
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
    delete worker;
    EXPECT_EQ(defaults().integerForKey(Key::chunkHighUSN), 200);
}

TEST_F(DefaultsTest, AStoredValueOfTheWrongTypeOrOutOfRangeReadsAsTheDefault)
{
    // A settings file edited by hand, or left by another program's idea of the keys. On a first
    // launch nothing has made the settings folder yet.
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settingsFilePath()).path()));
    QFile file(settingsFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[General]\n"
               "SyncingActive=maybe\n"
               "blueTaskColors=false\n"
               "chunkHighUSN=-5\n"
               "notesOrder=4\n");
    file.close();
    defaults().reloadForTesting();

    EXPECT_FALSE(defaults().boolForKey(Key::SyncingActive));
    EXPECT_FALSE(defaults().boolForKey(Key::blueTaskColors)) << "a good value beside the bad ones is read";
    EXPECT_EQ(defaults().integerForKey(Key::chunkHighUSN), 0);
    EXPECT_EQ(defaults().integerForKey(Key::notesOrder), 0);

    // The same rules hold for values written in this run.
    defaults().setDouble(Key::SyncingInterval, 200.0);
    EXPECT_EQ(defaults().doubleForKey(Key::SyncingInterval), 0.0) << "not one of the menu's intervals";
    defaults().setDouble(Key::SyncingInterval, FIVEMINUTES);
    EXPECT_EQ(defaults().doubleForKey(Key::SyncingInterval), 300.0);
    defaults().setInteger(Key::chunkHighUSN, qint64(1) << 33);
    EXPECT_EQ(defaults().integerForKey(Key::chunkHighUSN), 0) << "sequence numbers are 32-bit";
}
