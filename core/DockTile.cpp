#include "core/DockTile.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

DockTile::DockTile(const QString &desktopId, QObject *parent)
    : QObject(parent)
    , m_desktopId(desktopId)
{
}

void DockTile::setBadgeLabel(const QString &label)
{
    const bool changed = label != m_badgeLabel;
    m_badgeLabel = label;
    // Sent even when unchanged: a dock started since the last update learns the badge this way.
    sendUpdate();
    if (changed)
        emit badgeLabelChanged(label);
}

void DockTile::sendUpdate() const
{
    if (m_desktopId.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bool isNumber = false;
    const qint64 count = m_badgeLabel.toLongLong(&isNumber);
    QDBusMessage update = QDBusMessage::createSignal(QLatin1String(objectPath), QLatin1String(interfaceName),
                                                     QLatin1String(signalName));
    update << QStringLiteral("application://%1.desktop").arg(m_desktopId)
           << QVariantMap{{QStringLiteral("count"), isNumber ? count : qint64(0)},
                          {QStringLiteral("count-visible"), isNumber}};
    bus.send(update);
}
