#pragma once

#include "tests/support/WaitUntil.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QObject>
#include <QString>
#include <QVariantMap>

// Listens on its own connection to the session bus for the launcher-entry updates that docks
// read, as a dock would.
class LauncherEntryListener : public QObject
{
    Q_OBJECT
public:
    struct Update
    {
        QString appUri;
        qint64 count = 0;
        bool visible = false;
        bool operator==(const Update &) const = default;
    };

    LauncherEntryListener()
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("kelvara-dock")))
    {
        // Bus signals reach only named slots: Qt D-Bus has no pointer-to-member form of this.
        m_listening = m_bus.isConnected()
                      && m_bus.connect(QString(), QString(), QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                       QStringLiteral("Update"), this, SLOT(onUpdate(QString, QVariantMap)));
    }
    ~LauncherEntryListener() override { QDBusConnection::disconnectFromBus(QStringLiteral("kelvara-dock")); }

    bool isListening() const { return m_listening; }

    // Asks `service` (a bus name) over the bus, as a dock started later does, and waits for
    // the answer while the event loop runs; false when none came.
    bool query(const QString &service, Update *answer)
    {
        QDBusPendingCall call = m_bus.asyncCall(QDBusMessage::createMethodCall(
            service, QStringLiteral("/org/kelvara/Kelvara/LauncherEntry"), QStringLiteral("com.canonical.Unity.LauncherEntry"),
            QStringLiteral("Query")));
        waitUntil([&] { return call.isFinished(); });
        const QDBusMessage reply = call.reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2)
            return false;
        *answer = read(reply.arguments().at(0).toString(), qdbus_cast<QVariantMap>(reply.arguments().at(1)));
        return true;
    }
    // Waits until `count` updates came in all.
    bool waitForUpdates(qsizetype count) const { return waitUntil([&] { return m_updates.size() >= count; }); }
    const QList<Update> &updates() const { return m_updates; }

private slots:
    void onUpdate(const QString &appUri, const QVariantMap &properties) { m_updates.append(read(appUri, properties)); }

private:
    static Update read(const QString &appUri, const QVariantMap &properties)
    {
        return {appUri, properties.value(QStringLiteral("count")).toLongLong(),
                properties.value(QStringLiteral("count-visible")).toBool()};
    }

    QDBusConnection m_bus;
    bool m_listening = false;
    QList<Update> m_updates;
};
