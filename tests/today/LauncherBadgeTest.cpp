#include "core/platform/DockTile.h"
#include "tests/today/LauncherEntryListener.h"

#include <QDBusConnection>

#include <gtest/gtest.h>

#include <memory>

namespace {
const QString desktopId = QStringLiteral("org.kelvara.KelvaraBadgeTest");

QList<std::pair<qint64, bool>> states(const LauncherEntryListener &dock)
{
    QList<std::pair<qint64, bool>> result;
    for (const auto &update : dock.updates())
        result.append({update.properties.value(QStringLiteral("count")).toLongLong(),
                       update.properties.value(QStringLiteral("count-visible")).toBool()});
    return result;
}

bool waitForUpdates(const LauncherEntryListener &dock, qsizetype count)
{
    QDeadlineTimer deadline(5000);
    while (dock.updates().size() < count && !deadline.hasExpired())
        QTest::qWait(5);
    return dock.updates().size() >= count;
}
} // namespace

TEST(LauncherBadgeTest, TheLauncherHearsOnlyChangesCanAskAndIsClearedWhenTheTileGoes)
{
    LauncherEntryListener dock;
    if (!dock.isListening())
        GTEST_SKIP() << "no session bus";
    const QString service = QDBusConnection::sessionBus().baseService();
    {
        DockTile tile(desktopId);
        tile.setBadgeLabel(QString()); // nothing shown yet: nothing to say
        for (int i = 0; i < 3; ++i)
            tile.setBadgeLabel(QStringLiteral("3"));
        tile.setBadgeLabel(QStringLiteral("4"));
        // Updates from one sender arrive in order: once the second is in, no repeat of the
        // first can still be on its way.
        ASSERT_TRUE(waitForUpdates(dock, 2));
        EXPECT_EQ(states(dock), (QList<std::pair<qint64, bool>>{{3, true}, {4, true}}));
        EXPECT_EQ(dock.updates().first().appUri, QStringLiteral("application://org.kelvara.KelvaraBadgeTest.desktop"));

        // A dock started now asks.
        LauncherEntryListener::Update answer;
        ASSERT_TRUE(dock.query(service, &answer));
        EXPECT_EQ(answer.appUri, QStringLiteral("application://org.kelvara.KelvaraBadgeTest.desktop"));
        EXPECT_EQ(answer.properties.value(QStringLiteral("count")).toLongLong(), 4);
        EXPECT_TRUE(answer.properties.value(QStringLiteral("count-visible")).toBool());

        tile.setBadgeLabel(QString());
        ASSERT_TRUE(waitForUpdates(dock, 3));
        EXPECT_FALSE(dock.updates().last().properties.value(QStringLiteral("count-visible")).toBool());
        ASSERT_TRUE(dock.query(service, &answer));
        EXPECT_FALSE(answer.properties.value(QStringLiteral("count-visible")).toBool());
        tile.setBadgeLabel(QStringLiteral("0"));
        ASSERT_TRUE(waitForUpdates(dock, 4));
        EXPECT_EQ(states(dock).last(), (std::pair<qint64, bool>{0, true})) << "a count of 0 is still a badge";
    }
    // Gone (the application quit) with its badge on: the launcher is told to hide it.
    ASSERT_TRUE(waitForUpdates(dock, 5));
    EXPECT_FALSE(dock.updates().last().properties.value(QStringLiteral("count-visible")).toBool());
    LauncherEntryListener::Update answer;
    EXPECT_FALSE(dock.query(service, &answer)) << "nobody answers for a tile that is gone";
}
