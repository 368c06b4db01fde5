#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

// printf-like formatting of the format strings the application shares with its string tables
// and log lines: %@ (any value as text), %d %i %ld %lld %u (integers), %f (doubles), %s, and %%.
// Arguments are taken in order; a missing argument leaves its placeholder as written.
class StringFormat
{
public:
    static QString format(const QString &pattern, const QVariantList &args);
    static QString describe(const QVariant &value);

    StringFormat() = delete;
};
