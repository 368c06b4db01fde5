#include "core/platform/DockTile.h"
#include "tests/today/LauncherEntryListener.h"

#include <gtest/gtest.h>

TEST(LauncherBadgeTest, TheLauncherHearsOnlyChangesCanAskAndIsClearedWhenTheTileGoes)
{
    LauncherEntryListener dock;
    if (!dock.isListening())
        GTEST_SKIP() << "no session bus";
    const QString service = QDBusConnection::sessionBus().baseService();
    const QString uri = QStringLiteral("application://org.kelvara.KelvaraBadgeTest.desktop");
    LauncherEntryListener::Update answer;
    {
        DockTile tile(QStringLiteral("org.kelvara.KelvaraBadgeTest"));
        tile.setBadgeLabel(QString()); // nothing shown yet: nothing to say
        for (int i = 0; i < 3; ++i)
            tile.setBadgeLabel(QStringLiteral("3"));
        tile.setBadgeLabel(QStringLiteral("4"));
        // Updates from one sender arrive in order: once the second is in, no repeat of the
        // first can still be on its way.
        ASSERT_TRUE(dock.waitForUpdates(2));
        EXPECT_EQ(dock.updates(), (QList<LauncherEntryListener::Update>{{uri, 3, true}, {uri, 4, true}}));
        ASSERT_TRUE(dock.query(service, &answer)) << "a dock started now asks";
        EXPECT_EQ(answer, (LauncherEntryListener::Update{uri, 4, true}));

        tile.setBadgeLabel(QString());
        ASSERT_TRUE(dock.waitForUpdates(3));
        EXPECT_FALSE(dock.updates().last().visible);
        ASSERT_TRUE(dock.query(service, &answer));
        EXPECT_FALSE(answer.visible);
        tile.setBadgeLabel(QStringLiteral("0"));
        ASSERT_TRUE(dock.waitForUpdates(4));
        EXPECT_EQ(dock.updates().last(), (LauncherEntryListener::Update{uri, 0, true})) << "a count of 0 is still a badge";
    }
    // Gone (the application quit) with its badge on: the launcher is told to hide it.
    ASSERT_TRUE(dock.waitForUpdates(5));
    EXPECT_FALSE(dock.updates().last().visible);
    EXPECT_FALSE(dock.query(service, &answer)) << "nobody answers for a tile that is gone";
}
