#include "core/platform/DockTile.h"

#include <QDBusConnection>
#include <QDBusMessage>

DockTile::DockTile(const QString &desktopId, QObject *parent)
    : QObject(parent)
    , m_desktopId(desktopId)
{
    if (m_desktopId.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    // One launcher entry per process: a second tile (tests) is not answered for.
    m_registered = bus.isConnected()
                   && bus.registerObject(QLatin1String(objectPath), this, QDBusConnection::ExportScriptableSlots);
}

DockTile::~DockTile()
{
    // A dock would otherwise go on showing the last count after the application has gone.
    setBadgeLabel(QString());
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (m_registered)
        bus.unregisterObject(QLatin1String(objectPath));
    if (!m_sent.isEmpty() && bus.isConnected()) {
        // The process may end right after this: a round trip to the bus makes sure the
        // update ahead of it on this connection has been written.
        bus.call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                                QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")),
                 QDBus::Block, 1000);
    }
}

QString DockTile::appUri() const
{
    return QStringLiteral("application://%1.desktop").arg(m_desktopId);
}

void DockTile::setBadgeLabel(const QString &label)
{
    if (label == m_badgeLabel)
        return;
    m_badgeLabel = label;
    sendUpdate();
    emit badgeLabelChanged(label);
}

QVariantMap DockTile::launcherProperties() const
{
    bool isNumber = false;
    const qint64 count = m_badgeLabel.toLongLong(&isNumber);
    return {{QStringLiteral("count"), isNumber ? count : qint64(0)}, {QStringLiteral("count-visible"), isNumber}};
}

QString DockTile::Query(QVariantMap &properties) const
{
    properties = launcherProperties();
    return appUri();
}

void DockTile::sendUpdate()
{
    if (m_desktopId.isEmpty())
        return;
    const QVariantMap properties = launcherProperties();
    // Labels that read the same to a launcher ("3" and "03", or two texts that are no number)
    // are one state: it is told only changes.
    const bool hidden = !properties.value(QStringLiteral("count-visible")).toBool();
    if (properties == m_sent || (m_sent.isEmpty() && hidden))
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage update = QDBusMessage::createSignal(QLatin1String(objectPath), QLatin1String(interfaceName),
                                                     QLatin1String(signalName));
    update << appUri() << properties;
    if (bus.send(update))
        m_sent = properties;
}
