#include "service/TTransportException.h"

TTransportException::TTransportException(const QString &reason, const QVariantMap &userInfo)
    : TException(QStringLiteral("TTransportException"), reason, userInfo)
{
}
