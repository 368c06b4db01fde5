#include "service/EDAMUserException.h"

EDAMUserException::EDAMUserException(int32_t errorCode, const std::string &parameter)
{
    __set_errorCode(errorCode);
    __set_parameter(parameter);
}

EDAMUserException::EDAMUserException(const edam::EDAMUserException &received)
    : EDAMException(received)
{
}

QStringList EDAMUserException::fields() const
{
    return {QStringLiteral("errorCode:%1").arg(errorCode), QStringLiteral("parameter:") + quoted(parameter)};
}
