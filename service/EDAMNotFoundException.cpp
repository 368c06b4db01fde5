#include "service/EDAMNotFoundException.h"

EDAMNotFoundException::EDAMNotFoundException(const std::string &identifier, const std::string &key)
{
    __set_identifier(identifier);
    __set_key(key);
}

EDAMNotFoundException::EDAMNotFoundException(const edam::EDAMNotFoundException &received)
    : EDAMException(received)
{
}

QStringList EDAMNotFoundException::fields() const
{
    return {QStringLiteral("identifier:") + quoted(identifier), QStringLiteral("key:") + quoted(key)};
}
