#pragma once

#include "service/EDAMNoteStoreClient.h"
#include "service/EDAMUserStoreClient.h"
#include "service/TBinaryProtocol.h"
#include "service/THTTPClient.h"

#include <QString>

// Clients built the way the application builds them: a new HTTP transport, the binary
// protocol over it, the client over that.
namespace TestClients {

inline EDAMNoteStoreClient noteStore(const QString &url, std::chrono::milliseconds timeout = THTTPClient::DefaultTimeout)
{
    auto transport = std::make_shared<THTTPClient>(QUrl(url));
    transport->setTimeout(timeout);
    return EDAMNoteStoreClient(std::make_shared<TBinaryProtocol>(transport));
}

inline EDAMUserStoreClient userStore(const QString &url)
{
    return EDAMUserStoreClient(std::make_shared<TBinaryProtocol>(std::make_shared<THTTPClient>(QUrl(url))));
}

} // namespace TestClients
