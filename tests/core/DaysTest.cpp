#include "core/DayBoundaries.h"
#include "core/MidnightTimer.h"
#include "tests/support/FixedClock.h"

#include <gtest/gtest.h>

namespace {
constexpr int hours = 3600 * 1000;
}

TEST(DayBoundariesTest, DaysRunFromMidnightToTheLastSecondKeepingTheFractionOfTheCurrentSecondAcrossClockChanges)
{
    FixedClock clock;
    clock.set(2024, 5, 14, 10, 0, 0, 250);
    EXPECT_EQ(DayBoundaries::justFinishInDays(-1), clock.at(2024, 5, 13, 23, 59, 59, 250));
    EXPECT_EQ(DayBoundaries::justStartInDays(-40), clock.at(2024, 4, 4, 0, 0, 0, 250));

    // Spring forward (31 March 2024, a day of 23 hours) and fall back (27 October, 25 hours),
    // asked about after the change and from the day before.
    for (const QDate day : {QDate(2024, 3, 31), QDate(2024, 10, 27)}) {
        for (const QDate asked : {day, day.addDays(-1)}) {
            clock.set(asked.year(), asked.month(), asked.day(), 10, 0);
            const int n = int(asked.daysTo(day));
            EXPECT_EQ(DayBoundaries::justStartInDays(n), clock.at(day.year(), day.month(), day.day(), 0, 0)) << day.toString(Qt::ISODate).toStdString();
            EXPECT_EQ(DayBoundaries::justFinishInDays(n), clock.at(day.year(), day.month(), day.day(), 23, 59, 59));
        }
    }
}

TEST(DayBoundariesTest, ADayWithoutAMidnightStartsAtItsFirstInstantIsRefreshedAMinuteLaterAndTheDayBeforeEndsASecondEarlier)
{
    // Chile moves its clocks from 00:00 to 01:00 on 8 September 2024, and back from 00:00 to
    // 23:00 on 7 April 2024, so 6 April has two 23:59:59.
    FixedClock clock("America/Santiago");
    clock.set(2024, 9, 8, 10, 0);
    const QDateTime start = DayBoundaries::justStartInDays(0);
    EXPECT_EQ(start, clock.at(2024, 9, 8, 1, 0));
    EXPECT_EQ(DayBoundaries::justFinishInDays(-1).secsTo(start), 1);
    MidnightTimer timer;
    clock.set(2024, 9, 7, 0, 1, 17);
    timer.midnightOperations();
    EXPECT_EQ(clock.local(timer.nextRefresh()), clock.at(2024, 9, 8, 1, 1, 17));

    clock.set(2024, 4, 6, 10, 0);
    const QDateTime endOfToday = DayBoundaries::justFinishInDays(0);
    EXPECT_EQ(clock.local(endOfToday).time(), QTime(23, 59, 59));
    EXPECT_EQ(endOfToday.secsTo(DayBoundaries::justStartInDays(1)), 1) << "the later of the two";
}

TEST(MidnightTimerTest, LaunchedAt154217TheLauncherFiresAt000117AndEachRefreshSchedulesTheNextMidnight)
{
    FixedClock clock;
    MidnightTimer timer;
    int refreshes = 0;
    QObject::connect(&timer, &MidnightTimer::dayChanged, [&] { ++refreshes; });

    clock.set(2024, 5, 14, 15, 42, 17);
    timer.start();
    EXPECT_EQ(timer.launcher().interval(), 8 * hours + 19 * 60 * 1000);

    // The launcher's firing is the new day's refresh, not just the start of a timer that would
    // leave the lists a day old until the next midnight.
    clock.set(2024, 5, 15, 0, 1, 17);
    timer.launchTimerAtMidnight();
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(!timer.launcher().isActive() && timer.midnightTimer().isActive());
    EXPECT_EQ(timer.nextRefresh(), clock.at(2024, 5, 16, 0, 1, 17));

    // Days of 23 and 25 hours: the next refresh is still one minute past midnight, where a
    // fixed 24 hours would land at 01:01 or, worse, at 23:01 the evening before.
    clock.set(2024, 3, 31, 0, 1, 17);
    timer.midnightOperations();
    EXPECT_EQ(timer.midnightTimer().interval(), 23 * hours);
    clock.set(2024, 10, 27, 0, 1, 17);
    timer.midnightOperations();
    EXPECT_EQ(timer.midnightTimer().interval(), 25 * hours);
    EXPECT_EQ(refreshes, 3);
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
    EXPECT_TRUE(!timer.launcher().isActive() && timer.midnightTimer().isActive()) << "the daily timer took over";
    EXPECT_FALSE(timer.refreshIfDayChanged());
    EXPECT_EQ(refreshes, 1);
}
