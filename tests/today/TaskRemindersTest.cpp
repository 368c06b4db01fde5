#include "app/TaskReminders.h"
#include "core/Localized.h"
#include "tests/support/FixedClock.h"
#include "tests/support/ViewTest.h"

#include <QMainWindow>

namespace {
class TaskRemindersTest : public ViewTest
{
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        Localized::setLanguage(QStringLiteral("en"));
        clock.set(2024, 5, 14, 10, 0);
        window.setWindowTitle(QStringLiteral("Kelvara"));
    }
    void TearDown() override { Localized::setLanguage(QString()); ViewTest::TearDown(); }

    MyNote *due(const QString &title, int day)
    {
        MyNote *task = store.task(title);
        task->setDueDated(clock.at(2024, 5, day, 9, 0));
        return task;
    }
    void setBadgeShown(bool shown)
    {
        Defaults::standardUserDefaults().setBool(Key::ShowDockTile, shown);
        NotificationCenter::defaultCenter().post(QStringLiteral("ShowDockTile"), &window);
    }

    FixedClock clock;
    QMainWindow window;
};
} // namespace

TEST_F(TaskRemindersTest, TheBadgeFollowsTheSettingTheTasksAndTheDay)
{
    TaskReminders reminders(&store.context(), &window, QString());
    const DockTile &tile = reminders.dockTile();
    const auto badgeIs = [&](const char *label) { return waitUntil([&] { return tile.badgeLabel() == QLatin1String(label); }); };
    due(QStringLiteral("overdue"), 2);
    setBadgeShown(true);
    ASSERT_TRUE(badgeIs("1")) << "switched on in the preferences, the count shows at once";

    // A whole selection completed posts one "ShowDockTile" per task and is counted once.
    QList<MyNote *> tasks;
    for (int i = 0; i < 4; ++i)
        tasks << due(QStringLiteral("today %1").arg(i), 14);
    ASSERT_TRUE(badgeIs("5"));
    int changes = 0;
    QObject::connect(&tile, &DockTile::badgeLabelChanged, [&] { ++changes; });
    for (MyNote *task : tasks)
        task->setCompleted(true);
    tasks.first()->setActive(false);
    ASSERT_TRUE(badgeIs("1"));
    EXPECT_EQ(changes, 1);

    for (ManagedObject *o : store.context().fetch(QStringLiteral("MyNote")))
        static_cast<MyNote *>(o)->setCompleted(true);
    ASSERT_TRUE(badgeIs("0")) << "none due is a 0, not no badge";

    // Coming back to the window on a later day recounts, as the missed midnight refresh would.
    due(QStringLiteral("tomorrow morning"), 15);
    reminders.midnightTimer().start();
    reminders.changeDockTileNumber();
    clock.set(2024, 5, 15, 7, 45);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&window, &activate);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("(1) Kelvara"));
    setBadgeShown(false);
    ASSERT_TRUE(badgeIs(""));
}
