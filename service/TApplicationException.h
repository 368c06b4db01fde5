#pragma once

#include "service/TException.h"

#include <cstdint>

namespace apache::thrift::protocol {
class TProtocol;
}

// The service answered with an exception message instead of a reply, or the reply held neither
// a result nor a service exception. Its name is the text of its type.
class TApplicationException : public TException
{
public:
    enum Type : int32_t {
        UnknownMethod = 1,
        InvalidMessageType = 2,
        WrongMethodName = 3,
        BadSequenceId = 4,
        MissingResult = 5,
    };

    TApplicationException(int32_t type, const QString &reason);

    int32_t type() const { return m_type; }
    static QString typeName(int32_t type);

    // Reads the exception struct of an exception message: 1 message (string), 2 type (i32).
    static TApplicationException read(apache::thrift::protocol::TProtocol &protocol);

private:
    int32_t m_type;
};
