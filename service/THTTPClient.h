#pragma once

#include <QUrl>

#include <thrift/transport/TVirtualTransport.h>

#include <chrono>
#include <cstdint>
#include <string>

struct curl_slist;

// The HTTP client transport of the service calls, on libcurl. Writes collect the request in
// memory; flush() sends it as one POST and keeps the whole answer, from which the reply is then
// read. Exactly one exchange per flush, on the calling thread.
//
// The request carries "Content-Type" and "Accept" "application/x-thrift" and "User-Agent"
// "Cocoa/THTTPClient"; nothing is served from a cache (libcurl keeps none). TLS peers are
// verified against the system's certificates, or those of the file named by CURL_CA_BUNDLE or
// else SSL_CERT_FILE (as the curl tool reads them), redirects are not followed, and open connections
// are reused between exchanges (CurlHandlePool) for reads only. An exchange that takes longer than the
// timeout fails.
//
// Failures of flush() are TTransportException: "Could not make HTTP request" with the
// underlying error under "error", or "Bad response from HTTP server: %d". An answer that says
// it is a text page, or that memory cannot hold, is refused before it is read as a reply
// (TProtocolException).
class THTTPClient : public apache::thrift::transport::TVirtualTransport<THTTPClient>
{
public:
    static constexpr std::chrono::milliseconds DefaultTimeout{60000};

    explicit THTTPClient(const QUrl &url);
    ~THTTPClient() override;
    THTTPClient(const THTTPClient &) = delete;
    THTTPClient &operator=(const THTTPClient &) = delete;

    QUrl url() const { return m_url; }
    std::chrono::milliseconds timeout() const { return m_timeout; }
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

    bool isOpen() const override { return true; }
    void open() override {}
    void close() override {}

    // Whether the next exchange may reach the server twice without harm (a read). libcurl sends
    // a request again when a reused connection turns out closed before a byte of the answer,
    // which is right for a read but makes a second note of a create that was done before the
    // server closed. So an exchange goes out on a fresh connection, where libcurl never sends
    // it again, unless it was declared repeatable; the declaration lasts one exchange.
    void setRepeatable(bool repeatable) { m_repeatable = repeatable; }

    void write(const uint8_t *buf, uint32_t len);
    void flush() override;

    uint32_t read(uint8_t *buf, uint32_t len);
    const uint8_t *borrow(uint8_t *buf, uint32_t *len);
    void consume(uint32_t len);
    // Process-wide: exchanges under way end at once with a transport failure, and new ones
    // fail before they start, while set. The quit uses it when the user will not wait for a
    // service that does not answer.
    static void abandonExchanges(bool abandon);

    // Bytes of the current reply not read yet.
    int64_t replyBytesLeft() const { return int64_t(m_reply.size() - m_readPosition); }

private:
    static size_t receive(char *data, size_t size, size_t count, void *self);

    QUrl m_url;
    std::string m_encodedUrl;
    bool m_loopback;
    std::chrono::milliseconds m_timeout = DefaultTimeout;
    curl_slist *m_headers = nullptr;
    std::string m_request;
    std::string m_reply;
    size_t m_readPosition = 0;
    bool m_repeatable = false;
    bool m_replyUnallocated = false; // the answer did not fit in memory
};
