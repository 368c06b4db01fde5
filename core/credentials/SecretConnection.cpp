#include "core/credentials/SecretConnection.h"

namespace {
// Closing is a courtesy to the service; a daemon that has gone away answers at once anyway.
constexpr int sessionCloseTimeoutMs = 5000;
} // namespace

SecretConnection::SecretConnection(GCancellable *cancellable)
{
    m_service = secret_service_open_sync(SECRET_TYPE_SERVICE, nullptr, SECRET_SERVICE_OPEN_SESSION,
                                         cancellable, &m_error);
}

SecretConnection::~SecretConnection()
{
    if (m_error)
        g_error_free(m_error);
    if (!m_service)
        return;
    if (const gchar *session = secret_service_get_session_dbus_path(m_service)) {
        auto *proxy = G_DBUS_PROXY(m_service);
        GVariant *reply = g_dbus_connection_call_sync(
            g_dbus_proxy_get_connection(proxy), g_dbus_proxy_get_name(proxy), session,
            "org.freedesktop.Secret.Session", "Close", nullptr, nullptr,
            G_DBUS_CALL_FLAGS_NO_AUTO_START, sessionCloseTimeoutMs, nullptr, nullptr);
        if (reply)
            g_variant_unref(reply);
    }
    g_object_unref(m_service);
}
