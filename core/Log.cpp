#include "core/Log.h"

#include "core/StringFormat.h"

#include <QLoggingCategory>

#include <cstdio>

Q_LOGGING_CATEGORY(lcKelvara, "kelvara", QtInfoMsg)

void Log::line(const QString &format, const QVariantList &args)
{
    QString text = StringFormat::format(format, args);
    // One line per diagnostic, whatever the arguments held.
    text.replace(u'\n', u' ');
    qCInfo(lcKelvara).noquote() << text;
}

void Log::toStandardOutput(const QString &format, const QVariantList &args)
{
    const QByteArray text = StringFormat::format(format, args).toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
