#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

// One Kelvara per user session, as desktop applications do it: the first launch owns the
// session-bus name (the application id, org.kelvara.Kelvara) and answers the freedesktop
// application interface's Activate on the object path made from it; a later launch asks the
// owner to come to the front and exits. Without a session bus nothing is refused here, and the
// store's lock is what keeps a second process from writing the store.
class SingleInstance : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    enum class Role {
        First,          // this process owns the name; activationRequested() follows other launches
        AlreadyRunning, // the owner was asked to come to the front: this process should exit
        NoBus,          // no session bus: go on alone
    };

    explicit SingleInstance(const QString &applicationId, const QDBusConnection &bus = QDBusConnection::sessionBus(),
                            QObject *parent = nullptr);
    ~SingleInstance() override;

    Role claim();
    // "/org/kelvara/Kelvara" for "org.kelvara.Kelvara".
    static QString objectPath(const QString &applicationId);

public slots:
    // org.freedesktop.Application.Activate(a{sv}), called over the bus by a later launch.
    Q_SCRIPTABLE void Activate(const QVariantMap &platformData);

signals:
    void activationRequested();

private:
    bool askOwnerToActivate();

    QString m_applicationId;
    QDBusConnection m_bus;
    bool m_owner = false;
};
