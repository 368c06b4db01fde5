#pragma once

#include "service/EDAMException.h"
#include "service/EDAMTypes.h"

// The service refused the call: bad data, a missing field, a name already taken (error code 10
// with the parameter "Tag.name" or "Notebook.name"), a wrong user name or password.
// Not a kind of TException: callers catch it by its own kind.
class EDAMUserException : public EDAMException<EDAMUserException, edam::EDAMUserException>
{
public:
    static constexpr const char *typeName = "EDAMUserException";

    EDAMUserException() = default;
    EDAMUserException(int32_t errorCode, const std::string &parameter);
    explicit EDAMUserException(const edam::EDAMUserException &received);

private:
    // errorCode:10,parameter:"Tag.name"
    QStringList fields() const override;
};
