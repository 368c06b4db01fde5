#pragma once

#include <thrift/protocol/TBinaryProtocol.h>

#include <cstdint>
#include <memory>

class THTTPClient;

namespace apache::thrift::transport {
class TMemoryBuffer;
}

// Thrift's binary protocol as the service speaks it: strict reading and writing off, so every
// call goes out with the unversioned header and replies are accepted in both header forms.
//
// Reading is hardened against replies that lie about their lengths. Thrift's own reader sizes
// a string or a container from the length on the wire before it reads a byte of it, so a reply
// that is not what it seems (an HTML page's first bytes read as a length of about a gigabyte)
// would make it allocate that much. Here every length is weighed against the bytes the reply
// still holds, and one that cannot fit fails the read at once, before anything is allocated.
// A string whose bytes are not valid UTF-8 is read as the empty string.
//
// Memory is bounded too. A list of structs costs one byte a struct on the wire but hundreds in
// memory, and the generated readers size a list from its count at once, so a few megabytes of
// empty structs could take gigabytes. Every container's elements are charged at what they take
// in memory against an allowance of MemoryPerReplyByte times the reply's size (plus
// MemorySlack), and a reply that would take more fails before its list is sized. A failure to
// allocate while reading a string or binary value is a TProtocolException.
class TBinaryProtocol : public apache::thrift::protocol::TBinaryProtocol
{
public:
    static constexpr int64_t MemoryPerReplyByte = 16;
    static constexpr int64_t MemorySlack = 1 << 20;

    explicit TBinaryProtocol(std::shared_ptr<apache::thrift::transport::TTransport> transport);

    uint32_t readMessageBegin_virt(std::string &name,
                                   apache::thrift::protocol::TMessageType &messageType,
                                   int32_t &seqid) override;
    uint32_t readString_virt(std::string &str) override;
    uint32_t readBinary_virt(std::string &str) override;
    uint32_t readListBegin_virt(apache::thrift::protocol::TType &elemType, uint32_t &size) override;
    uint32_t readSetBegin_virt(apache::thrift::protocol::TType &elemType, uint32_t &size) override;
    uint32_t readMapBegin_virt(apache::thrift::protocol::TType &keyType,
                               apache::thrift::protocol::TType &valType,
                               uint32_t &size) override;
    // Thrift's own skipping calls the base reader directly; this one goes through the checks.
    uint32_t skip_virt(apache::thrift::protocol::TType type) override;

private:
    uint32_t readLengthPrefixed(std::string &str, const char *what);
    uint32_t readCount(uint32_t &size, int64_t elementBytes, int64_t elementMemory, const char *what);
    void requireBytes(int64_t count, int64_t length, const char *what);
    void chargeMemory(int64_t bytes, const char *what);
    // Bytes of the reply not read yet, or -1 when the transport cannot tell.
    int64_t bytesLeft() const;
    static int64_t minimumBytes(apache::thrift::protocol::TType type);
    static int64_t memoryBytes(apache::thrift::protocol::TType type);

    // The reply in memory, when the transport is one whose remaining bytes are known exactly.
    THTTPClient *m_http = nullptr;
    apache::thrift::transport::TMemoryBuffer *m_memory = nullptr;
    // The memory allowance of the reply being read (-1 until known) and what is charged to it.
    int64_t m_memoryAllowed = -1;
    int64_t m_memoryCharged = 0;
    // Skipped values are read and dropped, so their containers take no memory.
    int m_skipping = 0;
};
