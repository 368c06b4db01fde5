#include "core/Clock.h"

#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex &clockMutex()
{
    static QMutex mutex;
    return mutex;
}
Clock::Source &source()
{
    static Clock::Source s;
    return s;
}
QTimeZone &zoneOverride()
{
    static QTimeZone z;
    return z;
}
} // namespace

QDateTime Clock::now()
{
    Source s;
    {
        QMutexLocker lock(&clockMutex());
        s = source();
    }
    return s ? s() : QDateTime::currentDateTime();
}

qint64 Clock::nowMilliseconds()
{
    return now().toMSecsSinceEpoch();
}

QTimeZone Clock::timeZone()
{
    QMutexLocker lock(&clockMutex());
    return zoneOverride().isValid() ? zoneOverride() : QTimeZone::systemTimeZone();
}

void Clock::setSource(Source s)
{
    QMutexLocker lock(&clockMutex());
    source() = std::move(s);
}

void Clock::setTimeZone(const QTimeZone &zone)
{
    QMutexLocker lock(&clockMutex());
    zoneOverride() = zone;
}
