#include "core/Defaults.h"
#include "core/SettingsKeys.h"

#include <QSettings>
#include <QThread>

#include <gtest/gtest.h>

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
    EXPECT_TRUE(defaults().boolForKey(Key::firstSync));
    EXPECT_FALSE(defaults().boolForKey(Key::SyncingActive));
    EXPECT_EQ(defaults().doubleForKey(Key::SyncingInterval), 0.0);
    EXPECT_EQ(defaults().stringForKey(Key::completedSound), QStringLiteral("Pop"));
    EXPECT_TRUE(defaults().boolForKey(Key::ShowDockTile));
    EXPECT_TRUE(defaults().boolForKey(Key::SyncOnLaunch));
    EXPECT_FALSE(defaults().boolForKey(Key::SyncWhenQuit));

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
