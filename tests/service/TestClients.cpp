#include "tests/service/TestClients.h"

#include "service/TBinaryProtocol.h"

EDAMNoteStoreClient TestClients::noteStore(const QString &url, std::chrono::milliseconds timeout)
{
    auto transport = std::make_shared<THTTPClient>(QUrl(url));
    transport->setTimeout(timeout);
    return EDAMNoteStoreClient(std::make_shared<TBinaryProtocol>(transport));
}

EDAMUserStoreClient TestClients::userStore(const QString &url)
{
    return EDAMUserStoreClient(std::make_shared<TBinaryProtocol>(std::make_shared<THTTPClient>(QUrl(url))));
}
