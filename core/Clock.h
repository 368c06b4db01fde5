#pragma once

#include <QDateTime>
#include <QTimeZone>

#include <functional>

// The one source of "now" and of the user's time zone. Tests replace both to stand on any
// day, hour and zone without waiting.
class Clock
{
public:
    using Source = std::function<QDateTime()>;

    static QDateTime now();
    // Milliseconds since 1970 UTC, truncated toward zero: the service's time-stamp unit.
    static qint64 nowMilliseconds();
    static QTimeZone timeZone();

    // Replace the source of "now"; an empty function restores the system clock.
    static void setSource(Source source);
    // Replace the user's time zone; an invalid zone restores the system's.
    static void setTimeZone(const QTimeZone &zone);

    Clock() = delete;
};
