#include "service/ThriftCall.h"

#include "service/EDAMNotFoundException.h"
#include "service/EDAMSystemException.h"
#include "service/EDAMUserException.h"
#include "service/TApplicationException.h"
#include "service/THTTPClient.h"
#include "service/TProtocolException.h"
#include "service/TTransportException.h"

#include <thrift/protocol/TProtocolException.h>
#include <thrift/transport/TTransportException.h>

#include <new>
#include <stdexcept>

using apache::thrift::protocol::TMessageType;
using apache::thrift::protocol::TType;

ThriftCall::ThriftCall(Protocol &in, Protocol &out, const char *name, Effect effect, Raises raises)
    : m_in(in)
    , m_out(out)
    , m_name(name)
    , m_effect(effect)
    , m_raises(raises)
{
}

void ThriftCall::writeString(int16_t id, const char *name, const std::optional<std::string> &value)
{
    if (!value)
        return;
    m_out.writeFieldBegin(name, apache::thrift::protocol::T_STRING, id);
    m_out.writeString(*value);
    m_out.writeFieldEnd();
}

void ThriftCall::writeI16(int16_t id, const char *name, int16_t value)
{
    m_out.writeFieldBegin(name, apache::thrift::protocol::T_I16, id);
    m_out.writeI16(value);
    m_out.writeFieldEnd();
}

void ThriftCall::writeI32(int16_t id, const char *name, int32_t value)
{
    m_out.writeFieldBegin(name, apache::thrift::protocol::T_I32, id);
    m_out.writeI32(value);
    m_out.writeFieldEnd();
}

void ThriftCall::writeBool(int16_t id, const char *name, bool value)
{
    m_out.writeFieldBegin(name, apache::thrift::protocol::T_BOOL, id);
    m_out.writeBool(value);
    m_out.writeFieldEnd();
}

void ThriftCall::send(const std::function<void(ThriftCall &)> &writeArguments)
{
    try {
        m_out.writeMessageBegin(m_name, apache::thrift::protocol::T_CALL, 0);
        m_out.writeStructBegin((m_name + "_args").c_str());
        writeArguments(*this);
        m_out.writeFieldStop();
        m_out.writeStructEnd();
        m_out.writeMessageEnd();
        m_out.getTransport()->writeEnd();
        if (auto *http = dynamic_cast<THTTPClient *>(m_out.getTransport().get()))
            http->setRepeatable(m_effect == Effect::Reads);
        m_out.getTransport()->flush();
    } catch (const apache::thrift::transport::TTransportException &e) {
        throw TTransportException(QString::fromUtf8(e.what()));
    } catch (const apache::thrift::protocol::TProtocolException &e) {
        throw TProtocolException(QString::fromUtf8(e.what()));
    }
}

void ThriftCall::receive(const ResultReader &readResult)
{
    // The whole reply is in hand by now: a reply that ends early or does not add up is
    // malformed, whichever layer of Thrift noticed.
    try {
        readReply(readResult);
    } catch (const apache::thrift::protocol::TProtocolException &e) {
        throw TProtocolException(QString::fromUtf8(e.what()));
    } catch (const apache::thrift::transport::TTransportException &e) {
        throw TProtocolException(QString::fromUtf8(e.what()));
    } catch (const std::bad_alloc &) {
        outOfMemory();
    } catch (const std::length_error &) {
        outOfMemory(); // a container asked for more than it can ever hold
    }
}

void ThriftCall::readReply(const ResultReader &readResult)
{
    std::string name;
    TMessageType type;
    int32_t sequenceId;
    m_in.readMessageBegin(name, type, sequenceId);
    if (type == apache::thrift::protocol::T_EXCEPTION) {
        TApplicationException exception = TApplicationException::read(m_in);
        m_in.readMessageEnd();
        m_in.getTransport()->readEnd();
        throw exception;
    }

    TType fieldType;
    int16_t fieldId;
    m_in.readStructBegin(name);
    while (true) {
        m_in.readFieldBegin(name, fieldType, fieldId);
        if (fieldType == apache::thrift::protocol::T_STOP)
            break;
        const bool isStruct = fieldType == apache::thrift::protocol::T_STRUCT;
        if (fieldId == 0) {
            if (!readResult(m_in, fieldType))
                m_in.skip(fieldType);
        } else if (fieldId == 1 && isStruct && m_raises != Raises::Nothing) {
            m_userException.emplace().read(&m_in);
        } else if (fieldId == 2 && isStruct && m_raises != Raises::Nothing) {
            m_systemException.emplace().read(&m_in);
        } else if (fieldId == 3 && isStruct && m_raises == Raises::UserSystemOrNotFound) {
            m_notFoundException.emplace().read(&m_in);
        } else {
            m_in.skip(fieldType);
        }
        m_in.readFieldEnd();
    }
    m_in.readStructEnd();
    m_in.readMessageEnd();
    m_in.getTransport()->readEnd();
}

void ThriftCall::outOfMemory() const
{
    throw TProtocolException(QStringLiteral("Unable to allocate memory reading the reply of %1")
                                 .arg(QString::fromStdString(m_name)));
}

void ThriftCall::raiseWithoutResult() const
{
    if (m_userException)
        throw EDAMUserException(*m_userException);
    if (m_systemException)
        throw EDAMSystemException(*m_systemException);
    if (m_notFoundException)
        throw EDAMNotFoundException(*m_notFoundException);
    throw TApplicationException(TApplicationException::MissingResult,
                                QString::fromStdString(m_name) + QStringLiteral(" failed: unknown result"));
}
