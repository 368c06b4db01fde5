#pragma once

#include <QDate>
#include <QDateTime>

// The user's days: where each one starts and ends, in the Gregorian calendar of the user's time
// zone (Clock). Every count and list by due day uses these boundaries.
//
// They are worked out on calendar dates rather than by adding and subtracting hours, so that a
// day on which the clocks change still starts at 00:00:00 and ends at 23:59:59 local time (a day
// whose midnight does not exist starts at its first existing instant). Every boundary keeps the
// fraction of the current second, so two boundaries taken in one call of the clock compare as
// whole days apart.
class DayBoundaries
{
public:
    // 00:00:00 of the day n days after today (n may be negative), plus the current second's fraction.
    static QDateTime justStartInDays(int n);
    // 23:59:59 of the day n days after today, plus the current second's fraction: one second
    // before the next day starts.
    static QDateTime justFinishInDays(int n);

    // The same, counted from a given instant rather than from now.
    static QDateTime startInDays(const QDateTime &now, int n);
    static QDateTime finishInDays(const QDateTime &now, int n);

    // When the daily refresh after `now` runs: one minute past the start of the next day, plus
    // the second of the minute (and its fraction) that `now` has, so that refreshes spread over
    // the minute rather than all landing on it.
    static QDateTime nextDailyRefresh(const QDateTime &now);

    // The user's calendar day of an instant.
    static QDate dayOf(const QDateTime &instant);

    DayBoundaries() = delete;
};
