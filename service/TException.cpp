#include "service/TException.h"

#include "core/StringFormat.h"

#include <QStringList>

TException::TException(const QString &name, const QString &reason, const QVariantMap &userInfo)
    : m_name(name)
    , m_reason(reason)
    , m_userInfo(userInfo)
    , m_what(description().toStdString())
{
}

QString TException::description() const
{
    QString text = m_name + QStringLiteral(": ") + m_reason;
    if (m_userInfo.isEmpty())
        return text;
    QStringList entries;
    for (auto it = m_userInfo.cbegin(); it != m_userInfo.cend(); ++it)
        entries << it.key() + QStringLiteral(" = ") + StringFormat::describe(it.value());
    return text + QStringLiteral("\n  userInfo = {") + entries.join(QStringLiteral("; ")) + u'}';
}
