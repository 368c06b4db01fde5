#pragma once

#include "service/EDAMException.h"
#include "service/EDAMTypes.h"

// The service failed on its side. Not a kind of TException: callers catch it by its own kind.
class EDAMSystemException : public EDAMException<EDAMSystemException, edam::EDAMSystemException>
{
public:
    static constexpr const char *typeName = "EDAMSystemException";

    EDAMSystemException() = default;
    EDAMSystemException(int32_t errorCode, const std::string &message);
    explicit EDAMSystemException(const edam::EDAMSystemException &received);

private:
    // errorCode:2,message:"Internal error", and ",rateLimitDuration:30" after them when the
    // service said how long to wait.
    QStringList fields() const override;
};
