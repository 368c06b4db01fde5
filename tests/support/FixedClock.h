#pragma once

#include "core/Clock.h"

#include <QDateTime>
#include <QTimeZone>

// Stands the application's clock on a chosen instant in a chosen time zone for the life of a
// test, and gives the zone's local times.
class FixedClock
{
public:
    explicit FixedClock(const char *zoneId = "Europe/Berlin")
        : m_zone(QByteArray(zoneId))
    {
        Clock::setTimeZone(m_zone);
        Clock::setSource([this] { return m_now; });
    }
    ~FixedClock()
    {
        Clock::setSource({});
        Clock::setTimeZone(QTimeZone());
    }
    FixedClock(const FixedClock &) = delete;
    FixedClock &operator=(const FixedClock &) = delete;

    QDateTime at(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0) const
    {
        return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms), m_zone);
    }
    void set(const QDateTime &now) { m_now = now; }
    void set(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0)
    {
        m_now = at(year, month, day, hour, minute, second, ms);
    }
    QDateTime now() const { return m_now; }
    // An instant as the user reads it.
    QDateTime local(const QDateTime &instant) const { return instant.toTimeZone(m_zone); }

private:
    QTimeZone m_zone;
    QDateTime m_now;
};
