#pragma once

#include "service/EDAMTypes.h"

#include <QString>

// The service refused the call: bad data, a missing field, a name already taken (error code 10
// with the parameter "Tag.name" or "Notebook.name"), a wrong user name or password.
// Not a kind of TException: callers catch it by its own kind.
class EDAMUserException : public edam::EDAMUserException
{
public:
    EDAMUserException() = default;
    EDAMUserException(int32_t errorCode, const std::string &parameter);
    explicit EDAMUserException(const edam::EDAMUserException &received);

    static QString name() { return QStringLiteral("EDAMUserException"); }
    static QString reason() { return QStringLiteral("unknown"); }
    // EDAMUserException(errorCode:10,parameter:"Tag.name")
    QString description() const;

    const char *what() const noexcept override;

private:
    mutable std::string m_what;
};
