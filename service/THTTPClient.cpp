#include "service/THTTPClient.h"

#include "service/CurlHandlePool.h"
#include "service/TProtocolException.h"
#include "service/TTransportException.h"

#include <thrift/TConfiguration.h>
#include <thrift/transport/TTransportException.h>

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace {

std::atomic<bool> &abandoned()
{
    static std::atomic<bool> flag{false};
    return flag;
}

int progress(void *, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    // Non-zero makes libcurl end the exchange with "Callback aborted".
    return abandoned().load() ? 1 : 0;
}

constexpr size_t InitialRequestCapacity = 1024;
// Thrift counts reply bytes in 32-bit integers.
constexpr size_t LargestReply = size_t(std::numeric_limits<int32_t>::max());

// Reading is bounded by the reply in memory (TBinaryProtocol), not by a configured maximum.
std::shared_ptr<apache::thrift::TConfiguration> unlimited()
{
    return std::make_shared<apache::thrift::TConfiguration>(std::numeric_limits<int>::max());
}

// A text page (a proxy's or a captive portal's) is not a reply, whatever its status.
bool isTextPage(const char *contentType)
{
    if (!contentType)
        return false;
    return QByteArray(contentType).trimmed().toLower().startsWith("text/");
}

// A file of trusted certificates in place of the system's, named as for the curl tool, so that a
// local https service with a certificate of its own can be trusted.
QByteArray trustedCertificatesFile()
{
    for (const char *variable : {"CURL_CA_BUNDLE", "SSL_CERT_FILE"}) {
        QByteArray file = qgetenv(variable);
        if (!file.isEmpty())
            return file;
    }
    return {};
}

bool isLoopback(const QString &host)
{
    return host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0
           || host.startsWith(QStringLiteral("127.")) || host == QStringLiteral("::1");
}

} // namespace

THTTPClient::THTTPClient(const QUrl &url)
    : TVirtualTransport(unlimited())
    , m_url(url)
    , m_encodedUrl(url.toEncoded().toStdString())
    , m_loopback(isLoopback(url.host()))
{
    m_request.reserve(InitialRequestCapacity);
    for (const char *header : {"Content-Type: application/x-thrift", "Accept: application/x-thrift",
                               "User-Agent: Cocoa/THTTPClient",
                               // A large body would otherwise wait for "100 Continue" first.
                               "Expect:"}) {
        curl_slist *extended = curl_slist_append(m_headers, header);
        if (!extended) {
            curl_slist_free_all(m_headers);
            throw std::bad_alloc();
        }
        m_headers = extended;
    }
}

THTTPClient::~THTTPClient()
{
    curl_slist_free_all(m_headers);
}

void THTTPClient::write(const uint8_t *buf, uint32_t len)
{
    m_request.append(reinterpret_cast<const char *>(buf), len);
}

void THTTPClient::flush()
{
    // The request leaves the buffer whatever the outcome, so a later call starts clean.
    std::string body;
    body.swap(m_request);
    m_request.reserve(InitialRequestCapacity);
    m_reply.clear();
    m_readPosition = 0;
    const bool repeatable = std::exchange(m_repeatable, false);

    if (abandoned().load())
        throw TTransportException(QStringLiteral("Could not make HTTP request"),
                                  {{QStringLiteral("error"), QStringLiteral("abandoned")}});
    CurlHandlePool::Lease lease = CurlHandlePool::acquire();
    CURL *curl = lease.handle();
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, m_encodedUrl.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, m_headers);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, repeatable ? 0L : 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    const QByteArray certificates = trustedCertificatesFile();
    if (!certificates.isEmpty())
        curl_easy_setopt(curl, CURLOPT_CAINFO, certificates.constData());
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, long(m_timeout.count()));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(m_timeout.count()));
    // Timeouts must not use signals: exchanges run on worker threads.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    // A service on this machine is never reached through a proxy of the environment.
    if (m_loopback)
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &progress);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &THTTPClient::receive);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);

    m_replyUnallocated = false;
    const CURLcode result = curl_easy_perform(curl);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    if (m_replyUnallocated) {
        const size_t received = m_reply.size();
        m_reply = std::string();
        throw TProtocolException(QStringLiteral("Out of memory.  Unable to hold a reply of more than %1 bytes.")
                                     .arg(received));
    }
    if (result != CURLE_OK) {
        m_reply.clear();
        const QString detail = QString::fromUtf8(error[0] ? error : curl_easy_strerror(result));
        throw TTransportException(QStringLiteral("Could not make HTTP request"),
                                  {{QStringLiteral("error"), detail}});
    }
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (status != 200) {
        m_reply.clear();
        throw TTransportException(QStringLiteral("Bad response from HTTP server: %1").arg(status));
    }
    const char *contentType = nullptr;
    curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
    if (isTextPage(contentType)) {
        m_reply.clear();
        throw TProtocolException(QStringLiteral("The HTTP server answered with a page of type %1, not a reply")
                                     .arg(QString::fromLatin1(contentType).trimmed()));
    }
}

void THTTPClient::abandonExchanges(bool abandon)
{
    abandoned().store(abandon);
}

size_t THTTPClient::receive(char *data, size_t size, size_t count, void *self)
{
    auto *client = static_cast<THTTPClient *>(self);
    const size_t bytes = size * count;
    if (client->m_reply.size() + bytes > LargestReply)
        return 0; // aborts the exchange
    // No exception may cross libcurl's C frames.
    try {
        client->m_reply.append(data, bytes);
    } catch (const std::bad_alloc &) {
        client->m_replyUnallocated = true;
        return 0;
    }
    return bytes;
}

uint32_t THTTPClient::read(uint8_t *buf, uint32_t len)
{
    const size_t available = m_reply.size() - m_readPosition;
    const auto count = uint32_t(std::min<size_t>(len, available));
    std::memcpy(buf, m_reply.data() + m_readPosition, count);
    m_readPosition += count;
    return count;
}

const uint8_t *THTTPClient::borrow(uint8_t *, uint32_t *len)
{
    if (*len > m_reply.size() - m_readPosition)
        return nullptr;
    *len = uint32_t(std::min<size_t>(m_reply.size() - m_readPosition, UINT32_MAX));
    return reinterpret_cast<const uint8_t *>(m_reply.data()) + m_readPosition;
}

void THTTPClient::consume(uint32_t len)
{
    if (len > m_reply.size() - m_readPosition)
        throw apache::thrift::transport::TTransportException(
            apache::thrift::transport::TTransportException::BAD_ARGS, "Consumed more than the reply holds");
    m_readPosition += len;
}
