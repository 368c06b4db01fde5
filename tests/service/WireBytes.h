#pragma once

#include <QByteArray>

#include <cstdint>

// Thrift binary-protocol bytes written by hand, independently of the code under test: the
// expected requests and the scripted replies of the service tests.
class WireBytes
{
public:
    enum Type : uint8_t {
        Stop = 0,
        Bool = 2,
        Byte = 3,
        Double = 4,
        I16 = 6,
        I32 = 8,
        I64 = 10,
        String = 11,
        Struct = 12,
        Map = 13,
        Set = 14,
        List = 15,
    };
    enum MessageType : uint8_t { Call = 1, Reply = 2, Exception = 3 };

    WireBytes &i8(uint8_t value);
    WireBytes &i16(int16_t value);
    WireBytes &i32(int32_t value);
    WireBytes &i64(int64_t value);
    // A length then the bytes.
    WireBytes &string(const QByteArray &value);
    WireBytes &field(Type type, int16_t id);
    WireBytes &stop() { return i8(Stop); }
    WireBytes &list(Type elementType, int32_t count);
    WireBytes &raw(const QByteArray &bytes);

    // 0x8001 in the upper half of the first word, the type in its low byte.
    WireBytes &versionedHeader(const QByteArray &name, MessageType type, int32_t sequenceId = 0);
    // The name's length as the first word, then the name, the type byte, the sequence id.
    WireBytes &unversionedHeader(const QByteArray &name, MessageType type, int32_t sequenceId = 0);

    QByteArray bytes() const { return m_bytes; }
    operator QByteArray() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
