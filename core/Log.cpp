#include "core/Log.h"

#include "core/StringFormat.h"

#include <QLoggingCategory>

#include <cstdio>

Q_LOGGING_CATEGORY(lcKelvara, "kelvara", QtInfoMsg)

void Log::line(const QString &format, const QVariantList &args)
{
    QString text = StringFormat::format(format, args);
    // Many formats end with a newline of their own: the log adds its own line ends.
    while (text.endsWith(u'\n'))
        text.chop(1);
    // One line per diagnostic, whatever the arguments held.
    text.replace(u'\n', u' ');
    qCInfo(lcKelvara).noquote() << text;
}

void Log::toStandardOutput(const QString &format, const QVariantList &args)
{
    QByteArray text = StringFormat::format(format, args).toUtf8();
    while (text.endsWith('\n'))
        text.chop(1);
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
