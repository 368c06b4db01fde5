#include "service/TBinaryProtocol.h"

#include "service/EDAMTypes.h"
#include "service/THTTPClient.h"

#include <thrift/protocol/TProtocolException.h>
#include <thrift/transport/TBufferTransports.h>
#include <thrift/transport/TTransportException.h>

#include <algorithm>
#include <map>
#include <new>
#include <set>
#include <string>
#include <string_view>
#include <vector>

using apache::thrift::protocol::TMessageType;
using apache::thrift::protocol::TProtocolException;
using apache::thrift::protocol::TType;
using apache::thrift::transport::TMemoryBuffer;

namespace {

constexpr int32_t VersionMask = static_cast<int32_t>(0xffff0000);
constexpr int32_t Version1 = static_cast<int32_t>(0x80010000);

// What one element of a list of structs can take in memory: the largest struct of ours that
// a list holds. Other structs are only ever fields, inside the size of the one holding them.
constexpr int64_t LargestListedStruct = int64_t(std::max({sizeof(edam::EDAMNote), sizeof(edam::EDAMNotebook),
                                                          sizeof(edam::EDAMTag), sizeof(edam::EDAMResource),
                                                          sizeof(edam::EDAMSavedSearch)}));
constexpr int64_t LargestContainer = int64_t(std::max({sizeof(std::vector<int>), sizeof(std::set<int>),
                                                       sizeof(std::map<int, int>)}));

bool isValidUtf8(const std::string &text)
{
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    const auto *end = p + text.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra;
        uint32_t code;
        if ((c & 0xe0) == 0xc0) {
            extra = 1;
            code = c & 0x1f;
        } else if ((c & 0xf0) == 0xe0) {
            extra = 2;
            code = c & 0x0f;
        } else if ((c & 0xf8) == 0xf0) {
            extra = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra)
            return false;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xc0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3f);
        }
        static constexpr uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < smallest[extra] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
            return false;
        p += extra + 1;
    }
    return true;
}

} // namespace

TBinaryProtocol::TBinaryProtocol(std::shared_ptr<apache::thrift::transport::TTransport> transport)
    : apache::thrift::protocol::TBinaryProtocol(transport, 0, 0, false, false)
    , m_http(dynamic_cast<THTTPClient *>(transport.get()))
    , m_memory(dynamic_cast<TMemoryBuffer *>(transport.get()))
{
}

uint32_t TBinaryProtocol::readMessageBegin_virt(std::string &name, TMessageType &messageType,
                                                int32_t &seqid)
{
    // A new reply: its allowance is counted from its own size.
    const int64_t left = bytesLeft();
    m_memoryAllowed = left < 0 ? -1 : left * MemoryPerReplyByte + MemorySlack;
    m_memoryCharged = 0;

    int32_t word;
    uint32_t result = readI32(word);
    if (word < 0) {
        if ((word & VersionMask) != Version1)
            throw TProtocolException(TProtocolException::BAD_VERSION,
                                     "Bad version in readMessageBegin");
        messageType = static_cast<TMessageType>(word & 0xff);
        result += readLengthPrefixed(name, "message name");
    } else {
        // The unversioned header: the word is the length of the name.
        requireBytes(word, word, "message name");
        result += readStringBody(name, word);
        int8_t type;
        result += readByte(type);
        messageType = static_cast<TMessageType>(type);
    }
    result += readI32(seqid);
    return result;
}

uint32_t TBinaryProtocol::readString_virt(std::string &str)
{
    const uint32_t result = readLengthPrefixed(str, "string");
    if (!isValidUtf8(str))
        str.clear();
    return result;
}

uint32_t TBinaryProtocol::readBinary_virt(std::string &str)
{
    return readLengthPrefixed(str, "binary");
}

uint32_t TBinaryProtocol::readListBegin_virt(TType &elemType, uint32_t &size)
{
    int8_t type;
    uint32_t result = readByte(type);
    elemType = static_cast<TType>(type);
    return result + readCount(size, minimumBytes(elemType), memoryBytes(elemType), "list");
}

uint32_t TBinaryProtocol::readSetBegin_virt(TType &elemType, uint32_t &size)
{
    int8_t type;
    uint32_t result = readByte(type);
    elemType = static_cast<TType>(type);
    return result + readCount(size, minimumBytes(elemType), memoryBytes(elemType), "set");
}

uint32_t TBinaryProtocol::readMapBegin_virt(TType &keyType, TType &valType, uint32_t &size)
{
    int8_t key, value;
    uint32_t result = readByte(key);
    result += readByte(value);
    keyType = static_cast<TType>(key);
    valType = static_cast<TType>(value);
    return result + readCount(size, minimumBytes(keyType) + minimumBytes(valType),
                              memoryBytes(keyType) + memoryBytes(valType), "map");
}

uint32_t TBinaryProtocol::skip_virt(TType type)
{
    struct Skipping
    {
        int &depth;
        explicit Skipping(int &d) : depth(++d) {}
        ~Skipping() { --depth; }
    } skipping(m_skipping);
    return apache::thrift::protocol::skip(static_cast<apache::thrift::protocol::TProtocol &>(*this), type);
}

uint32_t TBinaryProtocol::readLengthPrefixed(std::string &str, const char *what)
{
    int32_t length;
    uint32_t result = readI32(length);
    requireBytes(length, length, what);
    try {
        return result + readStringBody(str, length);
    } catch (const std::bad_alloc &) {
        if (std::string_view(what) == "binary")
            throw TProtocolException(TProtocolException::SIZE_LIMIT,
                                     "Out of memory.  Unable to allocate " + std::to_string(length)
                                         + " bytes trying to read binary data.");
        throw TProtocolException(TProtocolException::SIZE_LIMIT,
                                 "Unable to allocate memory in readString, size: " + std::to_string(length));
    }
}

uint32_t TBinaryProtocol::readCount(uint32_t &size, int64_t elementBytes, int64_t elementMemory,
                                    const char *what)
{
    int32_t count;
    uint32_t result = readI32(count);
    requireBytes(int64_t(count) * elementBytes, count, what);
    chargeMemory(int64_t(count) * elementMemory, what);
    size = static_cast<uint32_t>(count);
    return result;
}

void TBinaryProtocol::chargeMemory(int64_t bytes, const char *what)
{
    if (m_skipping > 0)
        return;
    if (m_memoryAllowed < 0) {
        // A struct read on its own, without a message header: its allowance starts here.
        const int64_t left = bytesLeft();
        if (left < 0)
            return;
        m_memoryAllowed = left * MemoryPerReplyByte + MemorySlack;
    }
    m_memoryCharged += bytes;
    if (m_memoryCharged > m_memoryAllowed)
        throw TProtocolException(TProtocolException::SIZE_LIMIT,
                                 std::string("The elements of a ") + what + " would take "
                                     + std::to_string(m_memoryCharged) + " bytes of memory, more than "
                                     + std::to_string(m_memoryAllowed) + " allowed for the reply");
}

int64_t TBinaryProtocol::bytesLeft() const
{
    if (m_http)
        return m_http->replyBytesLeft();
    if (m_memory)
        return m_memory->available_read();
    return -1;
}

void TBinaryProtocol::requireBytes(int64_t count, int64_t length, const char *what)
{
    if (length < 0)
        throw TProtocolException(TProtocolException::NEGATIVE_SIZE,
                                 std::string("Negative length of a ") + what + " in the reply");
    const int64_t left = bytesLeft();
    bool fits = true;
    if (left >= 0) {
        fits = count <= left;
    } else {
        try {
            trans_->checkReadBytesAvailable(count);
        } catch (const apache::thrift::transport::TTransportException &) {
            fits = false;
        }
    }
    if (!fits)
        throw TProtocolException(TProtocolException::SIZE_LIMIT,
                                 "Length " + std::to_string(length) + " of a " + what
                                     + " exceeds what the reply holds");
}

int64_t TBinaryProtocol::minimumBytes(TType type)
{
    switch (type) {
    case apache::thrift::protocol::T_BOOL:
    case apache::thrift::protocol::T_BYTE:
    case apache::thrift::protocol::T_STRUCT: // at least its stop byte
        return 1;
    case apache::thrift::protocol::T_I16:
        return 2;
    case apache::thrift::protocol::T_I32:
    case apache::thrift::protocol::T_STRING:
        return 4;
    case apache::thrift::protocol::T_LIST:
    case apache::thrift::protocol::T_SET:
        return 5;
    case apache::thrift::protocol::T_MAP:
        return 6;
    case apache::thrift::protocol::T_I64:
    case apache::thrift::protocol::T_DOUBLE:
        return 8;
    default:
        throw TProtocolException(TProtocolException::INVALID_DATA, "Unknown element type in the reply");
    }
}

int64_t TBinaryProtocol::memoryBytes(TType type)
{
    switch (type) {
    case apache::thrift::protocol::T_STRUCT:
        return LargestListedStruct;
    case apache::thrift::protocol::T_STRING:
        return int64_t(sizeof(std::string));
    case apache::thrift::protocol::T_LIST:
    case apache::thrift::protocol::T_SET:
    case apache::thrift::protocol::T_MAP:
        return LargestContainer;
    default:
        return minimumBytes(type);
    }
}
