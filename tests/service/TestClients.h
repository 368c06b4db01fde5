#pragma once

#include "service/EDAMNoteStoreClient.h"
#include "service/EDAMUserStoreClient.h"
#include "service/THTTPClient.h"

#include <QString>

// Clients built the way the application builds them: a new HTTP transport, the binary
// protocol over it, the client over that.
class TestClients
{
public:
    static EDAMNoteStoreClient noteStore(const QString &url,
                                         std::chrono::milliseconds timeout = THTTPClient::DefaultTimeout);
    static EDAMUserStoreClient userStore(const QString &url);

    TestClients() = delete;
};
