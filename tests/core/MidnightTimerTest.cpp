#include "core/MidnightTimer.h"
#include "tests/support/FixedClock.h"

#include <gtest/gtest.h>

namespace {
constexpr int hours = 3600 * 1000;
}

TEST(MidnightTimerTest, LaunchedAt154217TheLauncherFiresAt000117AndEachRefreshSchedulesTheNextMidnight)
{
    FixedClock clock;
    MidnightTimer timer;
    int refreshes = 0;
    QObject::connect(&timer, &MidnightTimer::dayChanged, [&] { ++refreshes; });

    clock.set(2024, 5, 14, 15, 42, 17);
    timer.start();
    EXPECT_EQ(timer.nextRefresh(), clock.at(2024, 5, 15, 0, 1, 17));
    EXPECT_TRUE(timer.launcher().isActive() && !timer.midnightTimer().isActive());
    EXPECT_EQ(timer.launcher().interval(), 8 * hours + 19 * 60 * 1000);

    // The launcher's firing is the new day's refresh, not just the start of a timer that would
    // leave the lists a day old until the next midnight.
    clock.set(2024, 5, 15, 0, 1, 17);
    timer.launchTimerAtMidnight();
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(!timer.launcher().isActive() && timer.midnightTimer().isActive());
    EXPECT_EQ(timer.midnightTimer().interval(), 24 * hours);
    EXPECT_EQ(timer.nextRefresh(), clock.at(2024, 5, 16, 0, 1, 17));

    // Days of 23 and 25 hours: the next refresh is still one minute past midnight, where a
    // fixed 24 hours would land at 01:01 or, worse, at 23:01 the evening before.
    clock.set(2024, 3, 31, 0, 1, 17);
    timer.midnightOperations();
    EXPECT_EQ(timer.midnightTimer().interval(), 23 * hours);
    EXPECT_EQ(clock.local(timer.nextRefresh()), clock.at(2024, 4, 1, 0, 1, 17));
    clock.set(2024, 10, 27, 0, 1, 17);
    timer.midnightOperations();
    EXPECT_EQ(timer.midnightTimer().interval(), 25 * hours);
    EXPECT_EQ(clock.local(timer.nextRefresh()), clock.at(2024, 10, 28, 0, 1, 17));
    EXPECT_EQ(refreshes, 3);
}

TEST(MidnightTimerTest, ADayWithoutAMidnightIsRefreshedOneMinuteAfterItStarts)
{
    FixedClock clock("America/Santiago");
    MidnightTimer timer;
    clock.set(2024, 9, 7, 0, 1, 17);
    timer.midnightOperations();
    EXPECT_EQ(clock.local(timer.nextRefresh()), clock.at(2024, 9, 8, 1, 1, 17));
    EXPECT_EQ(timer.midnightTimer().interval(), 24 * hours);
}

TEST(MidnightTimerTest, ComingBackOnALaterDayRefreshesOnceAndOnTheSameDayNothing)
{
    FixedClock clock;
    MidnightTimer timer;
    int refreshes = 0;
    QObject::connect(&timer, &MidnightTimer::dayChanged, [&] { ++refreshes; });
    EXPECT_FALSE(timer.refreshIfDayChanged()) << "nothing before the timer runs";

    clock.set(2024, 5, 14, 22, 30);
    timer.start();
    clock.set(2024, 5, 14, 23, 59, 59, 999);
    EXPECT_FALSE(timer.refreshIfDayChanged());

    // Asleep through midnight: the launcher never fired.
    clock.set(2024, 5, 16, 8, 12, 40);
    EXPECT_TRUE(timer.refreshIfDayChanged());
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(timer.lastRefreshDay(), QDate(2024, 5, 16));
    EXPECT_TRUE(!timer.launcher().isActive() && timer.midnightTimer().isActive()) << "the daily timer took over";
    EXPECT_EQ(timer.nextRefresh(), clock.at(2024, 5, 17, 0, 1, 40));
    EXPECT_FALSE(timer.refreshIfDayChanged());
    EXPECT_EQ(refreshes, 1);
}
