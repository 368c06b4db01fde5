#include "tests/ui/AppTest.h"

#include "app/ShowTasksFinishController.h"
#include "app/ShowTasksLaunchController.h"
#include "app/TaskReminders.h"
#include "core/Localized.h"
#include "tests/support/FixedClock.h"
#include "ui/MyTodayNotesArrayController.h"
#include "ui/TodayViewController.h"
#include "ui_ShowTasksFinish.h"
#include "ui_ShowTasksLaunch.h"

#include <QSignalSpy>

TEST_F(AppTest, LaunchTellsTheCountsAndSetsTheBadgeTheMidnightRefreshFollowsTheDayAndQuitTellsTomorrow)
{
    FixedClock clock;
    clock.set(2024, 5, 14, 10, 0, 17);
    {
        StoreStack stack(storeFolder());
        ManagedObjectContext *context = stack.managedObjectContext();
        ASSERT_NE(context, nullptr);
        for (int day : {7, 13, 14, 15}) {
            auto *task = context->insert<MyNote>();
            task->setTitle(QStringLiteral("on the %1th").arg(day));
            task->setNotebook(static_cast<MyNotebook *>(context->fetch(QStringLiteral("MyNotebook")).first()));
            task->setDueDated(clock.at(2024, 5, day, day == 14 ? 0 : 9, 0));
        }
        ASSERT_TRUE(stack.saveAction());
    }
    Defaults &defaults = Defaults::standardUserDefaults();
    defaults.setBool(Key::showTasksStatusPanel, true);
    defaults.setBool(Key::StartInTasksView, false);

    // The panels' counts are read from their phrases.
    Localized::setLanguage(QStringLiteral("en"));
    const auto launchPanel = closeNextPanel<ShowTasksLaunchController>([&](ShowTasksLaunchController *panel) {
        EXPECT_EQ(panel->ui().overdueDescLabel->text(), QStringLiteral("2 overdue tasks"));
    });
    auto app = launch();
    EXPECT_TRUE(*launchPanel);
    EXPECT_EQ(app->window()->windowTitle(), QStringLiteral("(3) Kelvara"));
    MidnightTimer &timer = app->taskReminders().midnightTimer();
    EXPECT_TRUE(timer.launcher().isActive());

    // The first refresh after midnight: the Today view shows the new day, the badge counts it.
    auto *today = static_cast<TodayViewController *>(app->viewControllers().at(Kelvara_AppDelegate::TodayView));
    clock.set(2024, 5, 15, 0, 1, 17);
    timer.launchTimerAtMidnight();
    EXPECT_EQ(titles(*today->taskList()), QStringLiteral("on the 15th"));
    EXPECT_EQ(app->window()->windowTitle(), QStringLiteral("(4) Kelvara"));

    defaults.setBool(Key::showTasksStatusPanelAtEnd, true);
    const auto quitPanel = closeNextPanel<ShowTasksFinishController>([&](ShowTasksFinishController *panel) {
        EXPECT_EQ(panel->ui().overdueDescLabel->text(), QStringLiteral("3 overdue tasks"));
        EXPECT_EQ(panel->ui().tomorrowDescLabel->text(), Localized::string(QStringLiteral("NOTASKSTOMORROW")));
    });
    QSignalSpy approved(app.get(), &Kelvara_AppDelegate::terminationApproved);
    app->terminate(nullptr);
    EXPECT_TRUE(*quitPanel);
    EXPECT_EQ(approved.count(), 1);
    Localized::setLanguage(QString());
}
