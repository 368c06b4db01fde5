#include "service/TProtocolException.h"

TProtocolException::TProtocolException(const QString &reason)
    : TException(QStringLiteral("TProtocolException"), reason)
{
}
