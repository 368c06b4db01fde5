#pragma once

#include <QString>
#include <QVariantList>

// Diagnostics as single lines through Qt's logging (stderr, or the journal when run under
// systemd). The texts are fixed formats; arguments fill their placeholders (StringFormat).
class Log
{
public:
    static void line(const QString &format, const QVariantList &args = {});
    // The one diagnostic that belongs on standard output rather than the log.
    static void toStandardOutput(const QString &format, const QVariantList &args = {});

    Log() = delete;
};
