#include "tests/ui/AppTest.h"

#include "app/ShowTasksFinishController.h"
#include "app/ShowTasksLaunchController.h"
#include "app/TaskReminders.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/StoreStack.h"
#include "tests/support/FixedClock.h"
#include "tests/today/PanelCloser.h"
#include "ui/MyTodayNotesArrayController.h"
#include "ui/TodayViewController.h"

#include <QSignalSpy>

TEST_F(AppTest, LaunchTellsTheCountsAndSetsTheBadgeTheMidnightRefreshFollowsTheDayAndQuitTellsTomorrow)
{
    FixedClock clock;
    clock.set(2024, 5, 14, 10, 0, 17);
    {
        StoreStack stack(storeFolder());
        ManagedObjectContext *context = stack.managedObjectContext();
        ASSERT_NE(context, nullptr);
        auto *notebook = static_cast<MyNotebook *>(context->fetch(QStringLiteral("MyNotebook")).first());
        const auto add = [&](const QString &title, const QDateTime &due) {
            auto *task = context->insert<MyNote>();
            task->setTitle(title);
            task->setNotebook(notebook);
            task->setDueDated(due);
        };
        add(QStringLiteral("last week"), clock.at(2024, 5, 7, 9, 0));
        add(QStringLiteral("yesterday"), clock.at(2024, 5, 13, 9, 0));
        add(QStringLiteral("today"), clock.at(2024, 5, 14, 0, 0));
        add(QStringLiteral("tomorrow"), clock.at(2024, 5, 15, 0, 0));
        ASSERT_TRUE(stack.saveAction());
    }
    Defaults &defaults = Defaults::standardUserDefaults();
    defaults.setBool(Key::showTasksStatusPanel, true);
    defaults.setBool(Key::StartInTasksView, false);

    const auto launchPanel = PanelCloser::closeNext<ShowTasksLaunchController>([](ShowTasksLaunchController *panel) {
        EXPECT_EQ(panel->tasksForToday(), 1);
        EXPECT_EQ(panel->tasksOverdue(), 2);
        EXPECT_TRUE(panel->isModal());
    });
    auto app = launch();
    EXPECT_TRUE(*launchPanel);
    EXPECT_EQ(app->window()->windowTitle(), QStringLiteral("(3) Kelvara"));
    MidnightTimer &timer = app->taskReminders().midnightTimer();
    EXPECT_TRUE(timer.launcher().isActive());
    EXPECT_EQ(timer.nextRefresh(), clock.at(2024, 5, 15, 0, 1, 17));

    // The first refresh after midnight: the Today view shows the new day, the badge counts it.
    auto *today = static_cast<TodayViewController *>(app->viewControllers().at(Kelvara_AppDelegate::TodayView));
    ASSERT_EQ(today->taskList()->count(), 1);
    clock.set(2024, 5, 15, 0, 1, 17);
    timer.launchTimerAtMidnight();
    ASSERT_EQ(today->taskList()->count(), 1);
    EXPECT_EQ(static_cast<MyNote *>(today->taskList()->objectAt(0))->title(), QStringLiteral("tomorrow"));
    EXPECT_EQ(app->window()->windowTitle(), QStringLiteral("(4) Kelvara"));

    defaults.setBool(Key::showTasksStatusPanelAtEnd, true);
    const auto quitPanel = PanelCloser::closeNext<ShowTasksFinishController>([](ShowTasksFinishController *panel) {
        EXPECT_EQ(panel->tasksForToday(), 1);
        EXPECT_EQ(panel->tasksOverdue(), 3);
        EXPECT_EQ(panel->tasksForTomorrow(), 0);
    });
    QSignalSpy approved(app.get(), &Kelvara_AppDelegate::terminationApproved);
    app->terminate(nullptr);
    EXPECT_TRUE(*quitPanel);
    EXPECT_EQ(approved.count(), 1);
}
