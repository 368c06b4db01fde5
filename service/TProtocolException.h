#pragma once

#include "service/TException.h"

// The reply could not be read: a bad header, a length beyond what the reply holds, a reply
// that ends early, or a body that is not a Thrift message at all.
class TProtocolException : public TException
{
public:
    explicit TProtocolException(const QString &reason);
};
