#include "tests/support/fakeservice/FakeService.h"

#include "service/EDAMUserException.h"
#include "tests/support/fakeservice/FakeHttpFront.h"

#include <QRandomGenerator>

#include <thrift/TOutput.h>
#include <thrift/protocol/TBinaryProtocol.h>
#include <thrift/server/TThreadedServer.h>
#include <thrift/transport/TBufferTransports.h>
#include <thrift/transport/TServerSocket.h>
#ifdef KELVARA_FAKE_SERVICE_TLS
#include <thrift/transport/TSSLServerSocket.h>
#include <thrift/transport/TSSLSocket.h>
#endif

#include <csignal>
#include <future>
#include <stdexcept>

using apache::thrift::server::TServerEventHandler;
using apache::thrift::server::TThreadedServer;

namespace {

constexpr char UserStoreVariable[] = "KELVARA_USER_STORE_URL";
constexpr char NoteStoreVariable[] = "KELVARA_NOTE_STORE_BASE_URL";

// libthrift reports every client that goes away, which the fake's faults do on purpose.
void quiet(const char *) {}

} // namespace

// Tells the constructor the port once the server listens, and counts each connection's requests.
class FakeService::Events : public TServerEventHandler
{
public:
    explicit Events(apache::thrift::transport::TServerSocket &socket) : m_socket(socket) {}

    void preServe() override { m_listening.set_value(m_socket.getPort()); }
    void *createContext(std::shared_ptr<apache::thrift::protocol::TProtocol>,
                        std::shared_ptr<apache::thrift::protocol::TProtocol>) override
    {
        return new FakeHttpFront::Connection{0};
    }
    void deleteContext(void *context, std::shared_ptr<apache::thrift::protocol::TProtocol>,
                       std::shared_ptr<apache::thrift::protocol::TProtocol>) override
    {
        delete static_cast<FakeHttpFront::Connection *>(context);
    }

    std::promise<int> m_listening;

private:
    apache::thrift::transport::TServerSocket &m_socket;
};

FakeService::FakeService() : FakeService(Options{}) {}

FakeService::FakeService(const Options &options)
{
    apache::thrift::GlobalOutput.setOutputFunction(&quiet);
    // OpenSSL writes to the socket itself, so a TLS goodbye to a client that has gone would
    // end the test program; a server ignores the signal, as servers do.
    std::signal(SIGPIPE, SIG_IGN);
    std::shared_ptr<apache::thrift::transport::TServerSocket> socket;
    if (!options.tlsCertificate.isEmpty()) {
#ifdef KELVARA_FAKE_SERVICE_TLS
        auto factory = std::make_shared<apache::thrift::transport::TSSLSocketFactory>();
        factory->server(true);
        factory->authenticate(false);
        factory->loadCertificate(options.tlsCertificate.toLocal8Bit().constData());
        factory->loadPrivateKey(options.tlsPrivateKey.toLocal8Bit().constData());
        socket = std::make_shared<apache::thrift::transport::TSSLServerSocket>("127.0.0.1", options.port, factory);
        m_tls = true;
#else
        throw std::runtime_error("the fake service was built without TLS");
#endif
    } else {
        socket = std::make_shared<apache::thrift::transport::TServerSocket>("127.0.0.1", options.port);
    }
    socket->setInterruptableChildren(true);
    m_events = std::make_shared<Events>(*socket);
    m_server = std::make_shared<TThreadedServer>(
        std::make_shared<FakeHttpFront>(*this), socket,
        std::make_shared<apache::thrift::transport::TBufferedTransportFactory>(),
        std::make_shared<apache::thrift::protocol::TBinaryProtocolFactory>());
    m_server->setServerEventHandler(m_events);

    std::future<int> listening = m_events->m_listening.get_future();
    m_thread = std::thread([this] {
        try {
            m_server->serve();
        } catch (...) {
            try {
                m_events->m_listening.set_exception(std::current_exception());
            } catch (const std::future_error &) {
                // It listened before it failed; the stop will find it gone.
            }
        }
    });
    try {
        m_port = listening.get();
    } catch (...) {
        m_thread.join();
        throw;
    }
}

FakeService::~FakeService()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stopped.notify_all();
    m_server->stop();
    m_thread.join();
    for (const auto &[name, value] : m_savedEnvironment) {
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
}

QString FakeService::baseUrl() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(m_tls ? QStringLiteral("https") : QStringLiteral("http")).arg(m_port);
}

QString FakeService::userStoreUrl() const { return baseUrl() + QStringLiteral("/edam/user"); }
QString FakeService::noteStoreBaseUrl() const { return baseUrl() + QStringLiteral("/edam/note/"); }
QString FakeService::noteStoreUrl(const std::string &shardId) const { return noteStoreBaseUrl() + QString::fromStdString(shardId); }

void FakeService::exportEndpoints()
{
    for (const char *name : {UserStoreVariable, NoteStoreVariable}) {
        if (!m_savedEnvironment.count(name)) {
            m_savedEnvironment[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name))
                                                                       : std::nullopt;
        }
    }
    qputenv(UserStoreVariable, userStoreUrl().toUtf8());
    qputenv(NoteStoreVariable, noteStoreBaseUrl().toUtf8());
}

FakeAccount &FakeService::addAccount(const std::string &username, const std::string &password,
                                     const std::string &shardId)
{
    std::lock_guard lock(m_mutex);
    auto &slot = m_accounts[username];
    if (slot)
        throw std::invalid_argument("the fake service has that account already");
    slot = std::make_unique<FakeAccount>(int32_t(m_accounts.size()), username, password, shardId);
    return *slot;
}

std::string FakeService::issueToken(const std::string &username)
{
    FakeAccount *account = accountNamed(username);
    if (!account)
        throw std::invalid_argument("the fake service has no such account");
    return newToken(*account);
}

void FakeService::setVersionAccepted(bool accepted) { std::lock_guard lock(m_mutex); m_versionAccepted = accepted; }

void FakeService::inject(const std::string &call, FakeFault fault)
{
    std::lock_guard lock(m_mutex);
    m_faults.emplace_back(call, std::move(fault));
}

void FakeService::clearFaults() { std::lock_guard lock(m_mutex); m_faults.clear(); }

QList<FakeRequest> FakeService::requests() const { std::lock_guard lock(m_mutex); return m_requests; }

int FakeService::callCount(const std::string &call) const
{
    std::lock_guard lock(m_mutex);
    return int(std::count_if(m_requests.begin(), m_requests.end(),
                             [&](const FakeRequest &request) { return request.call == call; }));
}

void FakeService::clearRequests() { std::lock_guard lock(m_mutex); m_requests.clear(); }

bool FakeService::hasShard(const std::string &shardId) const
{
    std::lock_guard lock(m_mutex);
    return std::any_of(m_accounts.begin(), m_accounts.end(),
                       [&](const auto &entry) { return entry.second->shardId() == shardId; });
}

FakeAccount &FakeService::accountForToken(const std::string &token, const std::string &shardId)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_tokens.find(token);
    if (it == m_tokens.end() || it->second->shardId() != shardId)
        throw EDAMUserException(FakeAccount::InvalidAuth, "authenticationToken");
    return *it->second;
}

FakeAccount *FakeService::accountNamed(const std::string &username)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_accounts.find(username);
    return it == m_accounts.end() ? nullptr : it->second.get();
}

std::string FakeService::newToken(FakeAccount &account)
{
    const QByteArray random = QByteArray::number(QRandomGenerator::global()->generate64(), 16);
    const std::string token = "S=" + account.shardId() + ":U=" + std::to_string(account.user().id)
                              + ":H=" + random.toStdString();
    std::lock_guard lock(m_mutex);
    m_tokens[token] = &account;
    return token;
}

bool FakeService::versionAccepted(const std::string &clientName, int16_t major, int16_t minor) const
{
    std::lock_guard lock(m_mutex);
    return m_versionAccepted && clientName == "Kelvara" && major == 1 && minor == 15;
}

std::optional<FakeFault> FakeService::takeFault(const std::string &call)
{
    std::lock_guard lock(m_mutex);
    for (auto it = m_faults.begin(); it != m_faults.end(); ++it) {
        if (it->first != call && it->first != "*")
            continue;
        FakeFault fault = it->second;
        if (it->second.remaining > 0 && --it->second.remaining == 0)
            m_faults.erase(it);
        return fault;
    }
    return std::nullopt;
}

void FakeService::record(const FakeRequest &request) { std::lock_guard lock(m_mutex); m_requests.append(request); }

bool FakeService::wait(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_mutex);
    return !m_stopped.wait_for(lock, duration, [this] { return m_stopping; });
}
