#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

// The ten characters of a due date in a note's content. Writers choose the pattern from the
// country of the system locale; readers accept either pattern whatever the locale, because the
// note may have been written by a copy of Kelvara in another country.
class DatePattern
{
public:
    static constexpr qsizetype length = 10;

    static QString writingPattern();
    // The date's calendar day in the user's time zone, in the writing pattern; nothing for an
    // invalid date or a year that does not fit in four digits.
    static std::optional<QString> format(const QDateTime &date);
    // The start of the written day in the user's time zone, or nothing when text is not a
    // date in one of the two patterns.
    static std::optional<QDateTime> parse(QStringView text);

    // The locale whose country decides the writing pattern: QLocale::system() unless a test
    // sets another; nothing restores the system's.
    static QLocale systemLocale();
    static void setSystemLocale(const std::optional<QLocale> &locale);

    DatePattern() = delete;
};
