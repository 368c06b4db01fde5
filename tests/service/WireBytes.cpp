#include "tests/service/WireBytes.h"

WireBytes &WireBytes::i8(uint8_t value)
{
    m_bytes.append(char(value));
    return *this;
}

WireBytes &WireBytes::i16(int16_t value)
{
    const auto v = uint16_t(value);
    return i8(uint8_t(v >> 8)).i8(uint8_t(v));
}

WireBytes &WireBytes::i32(int32_t value)
{
    const auto v = uint32_t(value);
    return i8(uint8_t(v >> 24)).i8(uint8_t(v >> 16)).i8(uint8_t(v >> 8)).i8(uint8_t(v));
}

WireBytes &WireBytes::i64(int64_t value)
{
    const auto v = uint64_t(value);
    return i32(int32_t(uint32_t(v >> 32))).i32(int32_t(uint32_t(v)));
}

WireBytes &WireBytes::string(const QByteArray &value)
{
    return i32(int32_t(value.size())).raw(value);
}

WireBytes &WireBytes::field(Type type, int16_t id)
{
    return i8(type).i16(id);
}

WireBytes &WireBytes::list(Type elementType, int32_t count)
{
    return i8(elementType).i32(count);
}

WireBytes &WireBytes::raw(const QByteArray &bytes)
{
    m_bytes.append(bytes);
    return *this;
}

WireBytes &WireBytes::versionedHeader(const QByteArray &name, MessageType type, int32_t sequenceId)
{
    return i32(int32_t(0x80010000u | type)).string(name).i32(sequenceId);
}

WireBytes &WireBytes::unversionedHeader(const QByteArray &name, MessageType type, int32_t sequenceId)
{
    return string(name).i8(type).i32(sequenceId);
}
