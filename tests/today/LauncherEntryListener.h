#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QTest>
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
        QVariantMap properties;
    };

    LauncherEntryListener()
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("kelvara-dock")))
    {
        // Bus signals reach only named slots: Qt D-Bus has no pointer-to-member form of this.
        m_listening = m_bus.isConnected()
                      && m_bus.connect(QString(), QString(), QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                       QStringLiteral("Update"), this,
                                       SLOT(onUpdate(QString, QVariantMap)));
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
        QDeadlineTimer deadline(5000);
        while (!call.isFinished() && !deadline.hasExpired())
            QTest::qWait(5);
        const QDBusMessage reply = call.reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2)
            return false;
        answer->appUri = reply.arguments().at(0).toString();
        answer->properties = qdbus_cast<QVariantMap>(reply.arguments().at(1));
        return true;
    }
    const QList<Update> &updates() const { return m_updates; }

private slots:
    void onUpdate(const QString &appUri, const QVariantMap &properties) { m_updates.append({appUri, properties}); }

private:
    QDBusConnection m_bus;
    bool m_listening = false;
    QList<Update> m_updates;
};
