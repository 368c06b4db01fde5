#pragma once

#include "tests/support/fakeservice/FakeAccount.h"
#include "tests/support/fakeservice/FakeFault.h"
#include "tests/support/fakeservice/FakeRequest.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace apache::thrift::server {
class TThreadedServer;
}

// The note service, in process: the user store and the note store over real HTTP on
// 127.0.0.1, on an ephemeral port unless told one, served by libthrift's own server and
// dispatchers. It holds accounts with their notebooks, tags and notes (FakeAccount), answers
// every call the application makes, and misbehaves on request (FakeFault).
//
//     FakeService service;
//     FakeAccount &alice = service.addAccount("alice", "secret");   // shard "s1"
//     alice.addNote("Buy milk");
//     service.exportEndpoints();           // the application's configuration now points here
//     service.inject("createTag", FakeFault::userException(10, "Tag.name"));
//
// The user store is at "/edam/user", a note store at "/edam/note/<shard>"; other paths answer
// 404. A note-store call needs a token from authenticate (or issueToken) for an account of
// that shard. Construction throws when the server cannot start.
class FakeService
{
public:
    struct Options
    {
        // PEM files: with both, the service speaks HTTPS only.
        QString tlsCertificate;
        QString tlsPrivateKey;
        // 0 takes a free one, so that tests running side by side never collide.
        int port = 0;
    };

    FakeService();
    explicit FakeService(const Options &options);
    ~FakeService();
    FakeService(const FakeService &) = delete;
    FakeService &operator=(const FakeService &) = delete;

    QString userStoreUrl() const;
    QString noteStoreBaseUrl() const;
    QString noteStoreUrl(const std::string &shardId) const;
    // Points KELVARA_USER_STORE_URL and KELVARA_NOTE_STORE_BASE_URL here until the service goes.
    void exportEndpoints();

    FakeAccount &addAccount(const std::string &username, const std::string &password,
                            const std::string &shardId = "s1");
    // A valid token without an authenticate call. An unknown token, or one of another shard, is
    // error 8 ("authenticationToken").
    std::string issueToken(const std::string &username);

    // checkVersion answers true for the client "Kelvara" at 1.15 exactly, unless refused here.
    void setVersionAccepted(bool accepted);

    // The next matching calls (by message name; "*" for any) misbehave, each fault as many
    // times as it was made for. Faults apply in the order they were injected.
    void inject(const std::string &call, FakeFault fault);
    void clearFaults();

    QList<FakeRequest> requests() const;
    int callCount(const std::string &call) const;
    void clearRequests();

private:
    friend class FakeHttpFront;
    friend class FakeUserStoreHandler;
    friend class FakeNoteStoreHandler;
    class Events;

    QString baseUrl() const;
    bool hasShard(const std::string &shardId) const;
    FakeAccount &accountForToken(const std::string &token, const std::string &shardId);
    FakeAccount *accountNamed(const std::string &username);
    std::string newToken(FakeAccount &account);
    bool versionAccepted(const std::string &clientName, int16_t major, int16_t minor) const;
    std::optional<FakeFault> takeFault(const std::string &call);
    void record(const FakeRequest &request);
    // Waits unless the service stops first; false when it stopped.
    bool wait(std::chrono::milliseconds duration);

    mutable std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stopping = false;
    std::map<std::string, std::unique_ptr<FakeAccount>> m_accounts;
    std::map<std::string, FakeAccount *> m_tokens;
    std::vector<std::pair<std::string, FakeFault>> m_faults;
    QList<FakeRequest> m_requests;
    bool m_versionAccepted = true;
    std::map<QByteArray, std::optional<QByteArray>> m_savedEnvironment;

    bool m_tls = false;
    int m_port = 0;
    std::shared_ptr<apache::thrift::server::TThreadedServer> m_server;
    std::shared_ptr<Events> m_events;
    std::thread m_thread;
};
