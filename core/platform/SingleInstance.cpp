#include "core/platform/SingleInstance.h"

#include "core/Log.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

SingleInstance::SingleInstance(const QString &applicationId, const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_applicationId(applicationId)
    , m_bus(bus)
{
}

SingleInstance::~SingleInstance()
{
    if (!m_owner)
        return;
    m_bus.unregisterObject(objectPath(m_applicationId));
    m_bus.unregisterService(m_applicationId);
}

QString SingleInstance::objectPath(const QString &applicationId)
{
    return u'/' + QString(applicationId).replace(u'.', u'/');
}

SingleInstance::Role SingleInstance::claim()
{
    if (!m_bus.isConnected() || !m_bus.interface())
        return Role::NoBus;
    // The owner may be on its way out between our two steps: then the name is free next time.
    for (int attempt = 0; attempt < 3; ++attempt) {
        // The object first, so that a launch that finds the name can always call it.
        if (!m_bus.registerObject(objectPath(m_applicationId), this, QDBusConnection::ExportScriptableSlots))
            return Role::NoBus;
        const auto reply = m_bus.interface()->registerService(m_applicationId, QDBusConnectionInterface::DontQueueService,
                                                               QDBusConnectionInterface::DontAllowReplacement);
        if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
            m_owner = true;
            return Role::First;
        }
        m_bus.unregisterObject(objectPath(m_applicationId));
        if (!reply.isValid())
            return Role::NoBus;
        if (askOwnerToActivate())
            return Role::AlreadyRunning;
    }
    return Role::NoBus;
}

bool SingleInstance::askOwnerToActivate()
{
    QVariantMap platformData;
    // What lets the desktop give the focus to the window of a launch the user asked for.
    const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    if (!token.isEmpty())
        platformData.insert(QStringLiteral("activation-token"), QString::fromUtf8(token));
    const QByteArray startupId = qgetenv("DESKTOP_STARTUP_ID");
    if (!startupId.isEmpty())
        platformData.insert(QStringLiteral("desktop-startup-id"), QString::fromUtf8(startupId));

    QDBusMessage call = QDBusMessage::createMethodCall(m_applicationId, objectPath(m_applicationId),
                                                       QStringLiteral("org.freedesktop.Application"),
                                                       QStringLiteral("Activate"));
    call << platformData;
    // The owner may live in this very thread (tests): wait in an event loop that lets it answer.
    const QDBusMessage reply = m_bus.call(call, QDBus::BlockWithGui, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        Log::line(QStringLiteral("The running Kelvara did not answer: %@"), {reply.errorMessage()});
        return false;
    }
    return true;
}

void SingleInstance::Activate(const QVariantMap &)
{
    Log::line(QStringLiteral("Another launch asked for the window"));
    emit activationRequested();
}
