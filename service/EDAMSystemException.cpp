#include "service/EDAMSystemException.h"

EDAMSystemException::EDAMSystemException(int32_t errorCode, const std::string &message)
{
    __set_errorCode(errorCode);
    __set_message(message);
}

EDAMSystemException::EDAMSystemException(const edam::EDAMSystemException &received)
    : EDAMException(received)
{
}

QStringList EDAMSystemException::fields() const
{
    QStringList shown{QStringLiteral("errorCode:%1").arg(errorCode), QStringLiteral("message:") + quoted(message)};
    if (__isset.rateLimitDuration)
        shown << QStringLiteral("rateLimitDuration:%1").arg(rateLimitDuration);
    return shown;
}
