#include "content/DatePattern.h"

#include "core/Clock.h"

#include <QMutex>
#include <QMutexLocker>

namespace {
const QString yearFirst = QStringLiteral("yyyy-MM-dd");
const QString dayFirst = QStringLiteral("dd-MM-yyyy");

QMutex &localeMutex()
{
    static QMutex mutex;
    return mutex;
}
std::optional<QLocale> &localeOverride()
{
    static std::optional<QLocale> locale;
    return locale;
}

// The value of count ASCII digits from position at, or -1 when any of them is not one. Stricter
// than QDate::fromString, which would also take signs and blanks in the year.
int digits(QStringView text, qsizetype at, qsizetype count)
{
    int value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}
} // namespace

QString DatePattern::writingPattern()
{
    const QString country = QLocale::territoryToCode(systemLocale().territory());
    if (country == u"CN" || country == u"US" || country == u"JP")
        return yearFirst;
    return dayFirst;
}

std::optional<QString> DatePattern::format(const QDateTime &date)
{
    if (!date.isValid())
        return std::nullopt;
    const QDate day = date.toTimeZone(Clock::timeZone()).date();
    if (day.year() < 1 || day.year() > 9999)
        return std::nullopt;
    return day.toString(writingPattern());
}

std::optional<QDateTime> DatePattern::parse(QStringView text)
{
    if (text.size() != length)
        return std::nullopt;
    int year = -1;
    int month = -1;
    int day = -1;
    const qsizetype dash = text.indexOf(u'-');
    if (dash == 4 && text[7] == u'-') {
        year = digits(text, 0, 4);
        month = digits(text, 5, 2);
        day = digits(text, 8, 2);
    } else if (dash == 2 && text[5] == u'-') {
        day = digits(text, 0, 2);
        month = digits(text, 3, 2);
        year = digits(text, 6, 4);
    }
    // -1 is also a year QDate takes (1 BC), so each part is checked on its own.
    if (year < 0 || month < 0 || day < 0)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;

    // Not midnight plus or minus anything: where the clocks jump forward at midnight, the day
    // begins at 01:00, and the day the zone skipped altogether begins when the next one does.
    const QTimeZone zone = Clock::timeZone();
    QDateTime start = date.startOfDay(zone);
    if (!start.isValid())
        start = date.addDays(1).startOfDay(zone);
    if (!start.isValid())
        return std::nullopt;
    return start;
}

QLocale DatePattern::systemLocale()
{
    QMutexLocker lock(&localeMutex());
    return localeOverride().value_or(QLocale::system());
}

void DatePattern::setSystemLocale(const std::optional<QLocale> &locale)
{
    QMutexLocker lock(&localeMutex());
    localeOverride() = locale;
}
