#include "service/EDAMUserStoreClient.h"

#include "service/ThriftCall.h"

EDAMUserStoreClient::EDAMUserStoreClient(std::shared_ptr<Protocol> protocol)
    : EDAMUserStoreClient(protocol, protocol)
{
}

EDAMUserStoreClient::EDAMUserStoreClient(std::shared_ptr<Protocol> inProtocol,
                                         std::shared_ptr<Protocol> outProtocol)
    : m_in(std::move(inProtocol))
    , m_out(std::move(outProtocol))
{
}

bool EDAMUserStoreClient::checkVersion(const std::optional<std::string> &clientName,
                                       int16_t edamVersionMajor, int16_t edamVersionMinor)
{
    return ThriftCall::invoke<bool>(*m_in, *m_out, "checkVersion", ThriftCall::Effect::Reads,
                                    ThriftCall::Raises::Nothing, [&](ThriftCall &call) {
                                        call.writeString(1, "clientName", clientName);
                                        call.writeI16(2, "edamVersionMajor", edamVersionMajor);
                                        call.writeI16(3, "edamVersionMinor", edamVersionMinor);
                                    });
}

EDAMAuthenticationResult EDAMUserStoreClient::authenticate(const std::optional<std::string> &username,
                                                           const std::optional<std::string> &password,
                                                           const std::optional<std::string> &consumerKey,
                                                           const std::optional<std::string> &consumerSecret)
{
    return ThriftCall::invoke<EDAMAuthenticationResult>(
        *m_in, *m_out, "authenticate", ThriftCall::Effect::Changes, ThriftCall::Raises::UserOrSystem,
        [&](ThriftCall &call) {
            call.writeString(1, "username", username);
            call.writeString(2, "password", password);
            call.writeString(3, "consumerKey", consumerKey);
            call.writeString(4, "consumerSecret", consumerSecret);
        });
}
