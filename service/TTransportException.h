#pragma once

#include "service/TException.h"

// The HTTP exchange of a call failed: no answer, or an answer other than 200. Its reason is
// one of the transport's fixed texts and may be shown to the user; the underlying error, when
// there is one, is under "error" in the extra information.
class TTransportException : public TException
{
public:
    explicit TTransportException(const QString &reason, const QVariantMap &userInfo = {});
};
