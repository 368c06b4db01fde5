#pragma once

#include <QByteArray>

#include <cstdint>

// Thrift binary-protocol bytes written by hand, independently of the code under test: the
// expected requests and the scripted replies of the service tests. Numbers are big-endian.
class WireBytes
{
public:
    enum Type : uint8_t { Stop = 0, Bool = 2, Byte = 3, Double = 4, I16 = 6, I32 = 8, I64 = 10, String = 11, Struct = 12, Map = 13, Set = 14, List = 15 };
    enum MessageType : uint8_t { Call = 1, Reply = 2, Exception = 3 };

    WireBytes &i8(uint8_t value) { return raw(QByteArray(1, char(value))); }
    WireBytes &i16(int16_t value) { return i8(uint8_t(uint16_t(value) >> 8)).i8(uint8_t(value)); }
    WireBytes &i32(int32_t value) { return i16(int16_t(uint32_t(value) >> 16)).i16(int16_t(value)); }
    WireBytes &i64(int64_t value) { return i32(int32_t(uint64_t(value) >> 32)).i32(int32_t(value)); }
    // A length then the bytes.
    WireBytes &string(const QByteArray &value) { return i32(int32_t(value.size())).raw(value); }
    WireBytes &field(Type type, int16_t id) { return i8(type).i16(id); }
    WireBytes &stop() { return i8(Stop); }
    WireBytes &list(Type elementType, int32_t count) { return i8(elementType).i32(count); }
    WireBytes &raw(const QByteArray &bytes)
    {
        m_bytes.append(bytes);
        return *this;
    }

    // 0x8001 in the upper half of the first word, the type in its low byte.
    WireBytes &versionedHeader(const QByteArray &name, MessageType type, int32_t sequenceId = 0)
    {
        return i32(int32_t(0x80010000u | type)).string(name).i32(sequenceId);
    }
    // The name's length as the first word, then the name, the type byte, the sequence id.
    WireBytes &unversionedHeader(const QByteArray &name, MessageType type, int32_t sequenceId = 0)
    {
        return string(name).i8(type).i32(sequenceId);
    }

    QByteArray bytes() const { return m_bytes; }
    operator QByteArray() const { return m_bytes; }

private:
    QByteArray m_bytes;
};
