#include "core/Defaults.h"
#include "core/Localized.h"
#include "core/NotificationCenter.h"
#include "core/SettingsKeys.h"
#include "app/TaskReminders.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "tests/support/TempStore.h"
#include "tests/support/FixedClock.h"
#include "tests/today/LauncherEntryListener.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMainWindow>
#include <QTest>

#include <gtest/gtest.h>

namespace {
const QString desktopId = QStringLiteral("org.kelvara.KelvaraTest");

class TaskRemindersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Defaults::standardUserDefaults().resetForTesting();
        Defaults::standardUserDefaults().registerDefaults(SettingsKeys::registeredDefaults());
        Localized::setLanguage(QStringLiteral("en"));
        clock.set(2024, 5, 14, 10, 0);
        window.setWindowTitle(QStringLiteral("Kelvara"));
    }
    void TearDown() override { Localized::setLanguage(QString()); }

    MyNote *due(const QString &title, const QDateTime &when, MyNotebook *notebook = nullptr)
    {
        MyNote *task = store.task(title, notebook);
        task->setDueDated(when);
        return task;
    }

    static bool waitUntil(const std::function<bool()> &condition)
    {
        QDeadlineTimer deadline(5000);
        while (!condition() && !deadline.hasExpired())
            QTest::qWait(10);
        return condition();
    }

    FixedClock clock;
    TempStore store;
    QMainWindow window;
};
} // namespace

TEST_F(TaskRemindersTest, TheBadgeFollowsTheSettingAndTheTasksOnTheLauncherAndInTheTitle)
{
    LauncherEntryListener dock;
    TaskReminders reminders(&store.context(), &window, desktopId);
    const DockTile &tile = reminders.dockTile();

    Defaults::standardUserDefaults().setBool(Key::ShowDockTile, false);
    due(QStringLiteral("overdue"), clock.at(2024, 5, 2, 9, 0));
    reminders.changeDockTileNumber();
    EXPECT_EQ(tile.badgeLabel(), QString());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Kelvara"));

    // Switched on in the preferences: the count shows at once.
    Defaults::standardUserDefaults().setBool(Key::ShowDockTile, true);
    NotificationCenter::defaultCenter().post(QStringLiteral("ShowDockTile"), &window);
    ASSERT_TRUE(waitUntil([&] { return tile.badgeLabel() == QStringLiteral("1"); }));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("(1) Kelvara"));

    // A whole selection completed posts one "ShowDockTile" per task and is counted once.
    QList<MyNote *> tasks;
    for (int i = 0; i < 4; ++i)
        tasks << due(QStringLiteral("today %1").arg(i), clock.at(2024, 5, 14, 0, 0));
    ASSERT_TRUE(waitUntil([&] { return tile.badgeLabel() == QStringLiteral("5"); }));
    int changes = 0;
    QObject::connect(&tile, &DockTile::badgeLabelChanged, [&] { ++changes; });
    for (MyNote *task : tasks)
        task->setCompleted(true);
    tasks.first()->setActive(false);
    ASSERT_TRUE(waitUntil([&] { return tile.badgeLabel() == QStringLiteral("1"); }));
    EXPECT_EQ(changes, 1);

    tasks.first()->setActive(true);
    for (ManagedObject *o : store.context().fetch(QStringLiteral("MyNote")))
        static_cast<MyNote *>(o)->setCompleted(true);
    ASSERT_TRUE(waitUntil([&] { return tile.badgeLabel() == QStringLiteral("0"); })) << "none due is a 0, not no badge";
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Kelvara")) << "nothing due: no count in the title";

    Defaults::standardUserDefaults().setBool(Key::ShowDockTile, false);
    reminders.changeDockTileNumber();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Kelvara"));

    if (!dock.isListening())
        GTEST_SKIP() << "no session bus: the launcher part was not checked";
    ASSERT_TRUE(waitUntil([&] {
        return !dock.updates().isEmpty()
               && !dock.updates().last().properties.value(QStringLiteral("count-visible")).toBool();
    }));
    bool sawOne = false;
    bool sawZero = false;
    for (const auto &update : dock.updates()) {
        EXPECT_EQ(update.appUri, QStringLiteral("application://org.kelvara.KelvaraTest.desktop"));
        const bool visible = update.properties.value(QStringLiteral("count-visible")).toBool();
        const qint64 count = update.properties.value(QStringLiteral("count")).toLongLong();
        sawOne = sawOne || (visible && count == 1);
        sawZero = sawZero || (visible && count == 0);
    }
    EXPECT_TRUE(sawOne);
    EXPECT_TRUE(sawZero);
}

TEST_F(TaskRemindersTest, ComingBackToTheWindowOnALaterDayRecountsTheBadge)
{
    due(QStringLiteral("tomorrow morning"), clock.at(2024, 5, 15, 9, 0));
    TaskReminders reminders(&store.context(), &window, QString());
    int refreshes = 0;
    QObject::connect(&reminders.midnightTimer(), &MidnightTimer::dayChanged, [&] { ++refreshes; });
    reminders.midnightTimer().start();
    reminders.changeDockTileNumber();
    EXPECT_EQ(reminders.dockTile().badgeLabel(), QStringLiteral("0"));

    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&window, &activate);
    EXPECT_EQ(refreshes, 0) << "same day, nothing to do";

    clock.set(2024, 5, 15, 7, 45);
    QCoreApplication::sendEvent(&window, &activate);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(reminders.dockTile().badgeLabel(), QStringLiteral("1"));
}
