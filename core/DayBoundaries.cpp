#include "core/DayBoundaries.h"

#include "core/Clock.h"

QDate DayBoundaries::dayOf(const QDateTime &instant)
{
    return instant.toTimeZone(Clock::timeZone()).date();
}

QDateTime DayBoundaries::startInDays(const QDateTime &now, int n)
{
    const QTimeZone zone = Clock::timeZone();
    const QDateTime local = now.toTimeZone(zone);
    return local.date().addDays(n).startOfDay(zone).addMSecs(local.time().msec());
}

QDateTime DayBoundaries::finishInDays(const QDateTime &now, int n)
{
    // Counting back from the next day's start gives the later of two 23:59:59 when the clocks
    // go back at midnight, and the true last second when the next midnight does not exist.
    return startInDays(now, n + 1).addSecs(-1);
}

QDateTime DayBoundaries::justStartInDays(int n)
{
    return startInDays(Clock::now(), n);
}

QDateTime DayBoundaries::justFinishInDays(int n)
{
    return finishInDays(Clock::now(), n);
}

QDateTime DayBoundaries::nextDailyRefresh(const QDateTime &now)
{
    const QDateTime local = now.toTimeZone(Clock::timeZone());
    const QTime time = local.time();
    return startInDays(local, 1).addMSecs(qint64(60 + time.second()) * 1000);
}
