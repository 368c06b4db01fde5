#pragma once

#include "service/EDAMTypes.h"

#include <QString>

// The service failed on its side. Not a kind of TException: callers catch it by its own kind.
class EDAMSystemException : public edam::EDAMSystemException
{
public:
    EDAMSystemException() = default;
    EDAMSystemException(int32_t errorCode, const std::string &message);
    explicit EDAMSystemException(const edam::EDAMSystemException &received);

    static QString name() { return QStringLiteral("EDAMSystemException"); }
    static QString reason() { return QStringLiteral("unknown"); }
    // EDAMSystemException(errorCode:2,message:"Internal error"), and ",rateLimitDuration:30"
    // before the parenthesis when the service said how long to wait.
    QString description() const;

    const char *what() const noexcept override;

private:
    mutable std::string m_what;
};
