#include "service/TApplicationException.h"

#include <thrift/protocol/TProtocol.h>

using apache::thrift::protocol::TType;

TApplicationException::TApplicationException(int32_t type, const QString &reason)
    : TException(typeName(type), reason)
    , m_type(type)
{
}

QString TApplicationException::typeName(int32_t type)
{
    switch (type) {
    case UnknownMethod:
        return QStringLiteral("Unknown method");
    case InvalidMessageType:
        return QStringLiteral("Invalid message type");
    case WrongMethodName:
        return QStringLiteral("Wrong method name");
    case BadSequenceId:
        return QStringLiteral("Bad sequence ID");
    case MissingResult:
        return QStringLiteral("Missing result");
    default:
        return QStringLiteral("Unknown");
    }
}

TApplicationException TApplicationException::read(apache::thrift::protocol::TProtocol &protocol)
{
    std::string message;
    int32_t type = 0;
    std::string name;
    TType fieldType;
    int16_t fieldId;
    protocol.readStructBegin(name);
    while (true) {
        protocol.readFieldBegin(name, fieldType, fieldId);
        if (fieldType == apache::thrift::protocol::T_STOP)
            break;
        if (fieldId == 1 && fieldType == apache::thrift::protocol::T_STRING)
            protocol.readString(message);
        else if (fieldId == 2 && fieldType == apache::thrift::protocol::T_I32)
            protocol.readI32(type);
        else
            protocol.skip(fieldType);
        protocol.readFieldEnd();
    }
    protocol.readStructEnd();
    return TApplicationException(type, QString::fromStdString(message));
}
