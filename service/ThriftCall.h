#pragma once

#include "service/EDAMTypes.h"

#include <thrift/protocol/TProtocol.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

// One remote call on a pair of protocols, the machinery both store clients share: it writes
// the call message (unversioned header as the protocol writes it, sequence id 0, each argument
// as a field in id order, absent strings and structs left out), flushes the output transport
// (one HTTP exchange) and turns the reply into the result or the exception it carries.
//
// What leaves a call is one of ours: TTransportException, TProtocolException,
// TApplicationException, or one of the three service exceptions; running out of memory while
// reading the reply is a TProtocolException too. The reply's message name and
// sequence id are read and ignored.
class ThriftCall
{
public:
    enum class Raises { Nothing, UserOrSystem, UserSystemOrNotFound };
    // A call that changes something must never reach the service twice, so it goes out on a
    // fresh connection (see THTTPClient::setRepeatable); a read may use an open one.
    enum class Effect { Reads, Changes };
    using Protocol = apache::thrift::protocol::TProtocol;

    template <typename Result>
    static Result invoke(Protocol &in, Protocol &out, const char *name, Effect effect, Raises raises,
                         const std::function<void(ThriftCall &)> &writeArguments)
    {
        ThriftCall call(in, out, name, effect, raises);
        call.send(writeArguments);
        Result result{};
        bool received = false;
        call.receive([&](Protocol &protocol, apache::thrift::protocol::TType type) {
            if (type != wireType<Result>())
                return false;
            received = readValue(protocol, result);
            return true;
        });
        if (!received)
            call.raiseWithoutResult();
        return result;
    }

    void writeString(int16_t id, const char *name, const std::optional<std::string> &value);
    void writeI16(int16_t id, const char *name, int16_t value);
    void writeI32(int16_t id, const char *name, int32_t value);
    void writeBool(int16_t id, const char *name, bool value);
    template <typename Struct>
    void writeStruct(int16_t id, const char *name, const std::optional<Struct> &value)
    {
        if (!value)
            return;
        m_out.writeFieldBegin(name, apache::thrift::protocol::T_STRUCT, id);
        value->write(&m_out);
        m_out.writeFieldEnd();
    }

private:
    // Reads field 0 when its type is the result's; false leaves it to be skipped.
    using ResultReader = std::function<bool(Protocol &, apache::thrift::protocol::TType)>;

    ThriftCall(Protocol &in, Protocol &out, const char *name, Effect effect, Raises raises);
    void send(const std::function<void(ThriftCall &)> &writeArguments);
    void receive(const ResultReader &readResult);
    void readReply(const ResultReader &readResult);
    [[noreturn]] void raiseWithoutResult() const;
    [[noreturn]] void outOfMemory() const;

    template <typename T>
    struct IsVector : std::false_type {};
    template <typename T>
    struct IsVector<std::vector<T>> : std::true_type {};

    template <typename T>
    static constexpr apache::thrift::protocol::TType wireType()
    {
        using namespace apache::thrift::protocol;
        if constexpr (std::is_same_v<T, bool>)
            return T_BOOL;
        else if constexpr (std::is_same_v<T, int32_t>)
            return T_I32;
        else if constexpr (std::is_same_v<T, std::string>)
            return T_STRING;
        else if constexpr (IsVector<T>::value)
            return T_LIST;
        else
            return T_STRUCT;
    }

    template <typename T>
    static bool readValue(Protocol &protocol, T &value)
    {
        if constexpr (std::is_same_v<T, bool>) {
            protocol.readBool(value);
        } else if constexpr (std::is_same_v<T, int32_t>) {
            protocol.readI32(value);
        } else if constexpr (std::is_same_v<T, std::string>) {
            protocol.readString(value);
        } else if constexpr (IsVector<T>::value) {
            return readList(protocol, value);
        } else {
            value.read(&protocol);
        }
        return true;
    }

    // Elements are added as they are read, so memory follows what the reply really holds.
    template <typename Element>
    static bool readList(Protocol &protocol, std::vector<Element> &list)
    {
        apache::thrift::protocol::TType elementType;
        uint32_t count;
        protocol.readListBegin(elementType, count);
        const bool matches = elementType == wireType<Element>();
        for (uint32_t i = 0; i < count; ++i) {
            if (matches)
                readValue(protocol, list.emplace_back());
            else
                protocol.skip(elementType);
        }
        protocol.readListEnd();
        if (!matches)
            list.clear();
        return matches;
    }

    Protocol &m_in;
    Protocol &m_out;
    std::string m_name;
    Effect m_effect;
    Raises m_raises;
    std::optional<edam::EDAMUserException> m_userException;
    std::optional<edam::EDAMSystemException> m_systemException;
    std::optional<edam::EDAMNotFoundException> m_notFoundException;
};
