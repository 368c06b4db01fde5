#include "core/MidnightTimer.h"

#include "core/Clock.h"
#include "core/DayBoundaries.h"

#include <algorithm>

MidnightTimer::MidnightTimer(QObject *parent)
    : QObject(parent)
{
    // A coarse timer may fire up to 5% early: over a day, more than an hour before midnight.
    for (QTimer *timer : {&m_launcher, &m_midnightTimer}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_launcher, &QTimer::timeout, this, &MidnightTimer::launchTimerAtMidnight);
    connect(&m_midnightTimer, &QTimer::timeout, this, &MidnightTimer::midnightOperations);
}

MidnightTimer::~MidnightTimer() = default;

void MidnightTimer::schedule(QTimer &timer)
{
    const QDateTime now = Clock::now();
    m_nextRefresh = DayBoundaries::nextDailyRefresh(now);
    // Never more than a day and an hour ahead, so the interval always fits the timer.
    const qint64 interval = std::clamp<qint64>(now.msecsTo(m_nextRefresh), 0, 25 * 3600 * 1000);
    timer.start(int(interval));
}

void MidnightTimer::start()
{
    m_midnightTimer.stop();
    m_lastRefreshDay = DayBoundaries::dayOf(Clock::now());
    schedule(m_launcher);
}

void MidnightTimer::launchTimerAtMidnight()
{
    midnightOperations();
}

void MidnightTimer::midnightOperations()
{
    // Whatever ran it, the daily timer takes over from the launcher.
    m_launcher.stop();
    m_lastRefreshDay = DayBoundaries::dayOf(Clock::now());
    // Scheduled before the announcement, so a receiver that looks sees the next refresh.
    schedule(m_midnightTimer);
    emit dayChanged();
}

bool MidnightTimer::refreshIfDayChanged()
{
    if (!m_lastRefreshDay.isValid() || DayBoundaries::dayOf(Clock::now()) == m_lastRefreshDay)
        return false;
    midnightOperations();
    return true;
}
