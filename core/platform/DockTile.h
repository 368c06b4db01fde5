#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

// The application's launcher badge. Docks and panels that show counts on their launchers
// (Plasma's task manager, Dash to Dock, Unity) listen on the session bus for the
// "com.canonical.Unity.LauncherEntry" "Update" signal naming the application's .desktop file;
// the badge is sent there as a count, only when the count or its visibility changes. A dock
// started later asks with the interface's "Query" method, which this object answers on the
// session bus. When the tile goes (the application quits) the badge is taken off the launcher.
// Desktops without launcher badges see badgeLabelChanged(), which the window shows in its title.
// No session bus is not an error: nothing is sent and nothing answered.
class DockTile : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.Unity.LauncherEntry")
public:
    static constexpr const char *interfaceName = "com.canonical.Unity.LauncherEntry";
    static constexpr const char *signalName = "Update";
    static constexpr const char *objectPath = "/org/kelvara/Kelvara/LauncherEntry";

    // `desktopId` names the application's .desktop file without its suffix ("org.kelvara.Kelvara");
    // without one no launcher can be named and only badgeLabelChanged() tells the badge.
    explicit DockTile(const QString &desktopId, QObject *parent = nullptr);
    ~DockTile() override;

    QString desktopId() const { return m_desktopId; }
    QString appUri() const;
    // The text of the badge; empty when there is none.
    QString badgeLabel() const { return m_badgeLabel; }
    // An empty label removes the badge. A label that is not a whole number cannot be sent as a
    // launcher count: the launchers then show no badge.
    void setBadgeLabel(const QString &label);
    // The launcher's properties for the badge: "count" (int64) and "count-visible" (boolean).
    QVariantMap launcherProperties() const;

public slots:
    // The LauncherEntry "Query" method, (s a{sv}): the application's URI and its properties.
    Q_SCRIPTABLE QString Query(QVariantMap &properties) const;

signals:
    void badgeLabelChanged(const QString &label);

private:
    void sendUpdate();

    QString m_desktopId;
    QString m_badgeLabel;
    QVariantMap m_sent; // what the launchers were last told; empty before the first update
    bool m_registered = false;
};
