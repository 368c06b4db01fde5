#include "core/DayBoundaries.h"
#include "tests/support/FixedClock.h"

#include <gtest/gtest.h>

TEST(DayBoundariesTest, DaysRunFromMidnightToTheLastSecondAndKeepTheFractionOfTheCurrentSecond)
{
    FixedClock clock;
    clock.set(2024, 5, 14, 10, 0, 0, 250);
    EXPECT_EQ(DayBoundaries::justFinishInDays(-1), clock.at(2024, 5, 13, 23, 59, 59, 250));
    EXPECT_EQ(DayBoundaries::justFinishInDays(0), clock.at(2024, 5, 14, 23, 59, 59, 250));
    EXPECT_EQ(DayBoundaries::justFinishInDays(1), clock.at(2024, 5, 15, 23, 59, 59, 250));
    EXPECT_EQ(DayBoundaries::justStartInDays(0), clock.at(2024, 5, 14, 0, 0, 0, 250));
    EXPECT_EQ(DayBoundaries::justStartInDays(2), clock.at(2024, 5, 16, 0, 0, 0, 250));
    EXPECT_EQ(DayBoundaries::justStartInDays(-40), clock.at(2024, 4, 4, 0, 0, 0, 250));

    // The first and the last instant of a day belong to that day.
    clock.set(2024, 5, 14, 0, 0, 0, 0);
    EXPECT_EQ(DayBoundaries::justStartInDays(0), clock.now());
    clock.set(2024, 5, 14, 23, 59, 59, 999);
    EXPECT_EQ(DayBoundaries::justFinishInDays(0), clock.now());
    EXPECT_EQ(DayBoundaries::justStartInDays(1), clock.at(2024, 5, 15, 0, 0, 0, 999));
}

TEST(DayBoundariesTest, DaysOnWhichTheClocksChangeStartAtMidnightAndEndAtTheirLastSecond)
{
    FixedClock clock("Europe/Berlin");
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
    clock.set(2024, 3, 31, 10, 0);
    EXPECT_EQ(DayBoundaries::justStartInDays(0).secsTo(DayBoundaries::justStartInDays(1)), 23 * 3600);
    clock.set(2024, 10, 27, 10, 0);
    EXPECT_EQ(DayBoundaries::justStartInDays(0).secsTo(DayBoundaries::justStartInDays(1)), 25 * 3600);
}

TEST(DayBoundariesTest, ADayWithoutAMidnightStartsAtItsFirstInstantAndTheDayBeforeEndsOneSecondEarlier)
{
    // Chile moves its clocks from 00:00 to 01:00 on 8 September 2024, and back from 00:00 to
    // 23:00 on 7 April 2024, so 6 April has two 23:59:59.
    FixedClock clock("America/Santiago");
    clock.set(2024, 9, 8, 10, 0);
    const QDateTime start = DayBoundaries::justStartInDays(0);
    EXPECT_EQ(start, clock.at(2024, 9, 8, 1, 0));
    EXPECT_EQ(DayBoundaries::justFinishInDays(-1).secsTo(start), 1);
    EXPECT_EQ(clock.local(DayBoundaries::justFinishInDays(-1)).time(), QTime(23, 59, 59));

    clock.set(2024, 4, 6, 10, 0);
    const QDateTime endOfToday = DayBoundaries::justFinishInDays(0);
    EXPECT_EQ(clock.local(endOfToday).time(), QTime(23, 59, 59));
    EXPECT_EQ(endOfToday.secsTo(DayBoundaries::justStartInDays(1)), 1) << "the later of the two";
    EXPECT_EQ(DayBoundaries::justStartInDays(0).secsTo(endOfToday), 25 * 3600 - 1);
}
