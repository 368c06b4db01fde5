#pragma once

#include "core/credentials/LibSecret.h"

// A connection to the Secret Service with an open session, for one keychain call.
//
// Each call opens its own: libsecret's shared connection would watch the service's name from
// the thread that happened to open it first, whose loop ends with that call, and so would never
// notice the keyring daemon restarting. The session, and the key agreed for it, is closed again
// at the end; the service would otherwise keep it until the process leaves the bus.
class SecretConnection
{
public:
    explicit SecretConnection(GCancellable *cancellable);
    ~SecretConnection();
    SecretConnection(const SecretConnection &) = delete;
    SecretConnection &operator=(const SecretConnection &) = delete;

    // Null when the connection failed; error() then says why.
    SecretService *service() const { return m_service; }
    const GError *error() const { return m_error; }

private:
    SecretService *m_service = nullptr;
    GError *m_error = nullptr;
};
