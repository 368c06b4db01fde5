#pragma once

#include "service/EDAMTypes.h"

#include <thrift/protocol/TProtocol.h>

#include <memory>
#include <optional>
#include <string>

// The user store: the version check and authentication. Each operation is one call, sent and
// answered on the calling thread; a client serves one thread and is dropped after its calls.
// An absent string argument is left out of the call. Failures are raised as described in
// ThriftCall.h.
class EDAMUserStoreClient
{
public:
    using Protocol = apache::thrift::protocol::TProtocol;

    explicit EDAMUserStoreClient(std::shared_ptr<Protocol> protocol);
    EDAMUserStoreClient(std::shared_ptr<Protocol> inProtocol, std::shared_ptr<Protocol> outProtocol);

    bool checkVersion(const std::optional<std::string> &clientName, int16_t edamVersionMajor,
                      int16_t edamVersionMinor);
    EDAMAuthenticationResult authenticate(const std::optional<std::string> &username,
                                          const std::optional<std::string> &password,
                                          const std::optional<std::string> &consumerKey,
                                          const std::optional<std::string> &consumerSecret);

private:
    std::shared_ptr<Protocol> m_in;
    std::shared_ptr<Protocol> m_out;
};
