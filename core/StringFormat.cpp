#include "core/StringFormat.h"

#include <QDateTime>

QString StringFormat::describe(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("(null)");
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().toString(Qt::ISODateWithMs);
    if (value.metaType().id() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return value.toString();
}

QString StringFormat::format(const QString &pattern, const QVariantList &args)
{
    QString out;
    out.reserve(pattern.size() + 16 * args.size());
    qsizetype next = 0;
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = pattern.at(i);
        if (c != u'%' || i + 1 >= n) {
            out += c;
            continue;
        }
        qsizetype j = i + 1;
        if (pattern.at(j) == u'%') {
            out += u'%';
            i = j;
            continue;
        }
        // length modifiers
        while (j < n && (pattern.at(j) == u'l' || pattern.at(j) == u'h' || pattern.at(j) == u'q'))
            ++j;
        if (j >= n) {
            out += pattern.mid(i);
            break;
        }
        const QChar conv = pattern.at(j);
        if (conv != u'@' && conv != u'd' && conv != u'i' && conv != u'u' && conv != u'f' && conv != u's') {
            out += c;
            continue;
        }
        if (next >= args.size()) {
            out += pattern.mid(i, j - i + 1);
            i = j;
            continue;
        }
        const QVariant &arg = args.at(next++);
        if (conv == u'd' || conv == u'i' || conv == u'u')
            out += QString::number(arg.toLongLong());
        else if (conv == u'f')
            out += QString::number(arg.toDouble(), 'f', 6);
        else
            out += describe(arg);
        i = j;
    }
    return out;
}
