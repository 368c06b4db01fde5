#pragma once

#include <QObject>
#include <QString>

// The application's launcher badge. Docks and panels that show counts on their launchers
// (Plasma's task manager, Dash to Dock, Unity) listen on the session bus for the
// "com.canonical.Unity.LauncherEntry" "Update" signal naming the application's .desktop file;
// the badge is sent there as a count. Desktops without launcher badges see badgeLabelChanged(),
// which the window shows in its title. No session bus is not an error: the signal is not sent.
class DockTile : public QObject
{
    Q_OBJECT
public:
    static constexpr const char *interfaceName = "com.canonical.Unity.LauncherEntry";
    static constexpr const char *signalName = "Update";
    static constexpr const char *objectPath = "/org/kelvara/Kelvara/LauncherEntry";

    // `desktopId` names the application's .desktop file without its suffix ("org.kelvara.Kelvara");
    // without one no launcher can be named and only badgeLabelChanged() tells the badge.
    explicit DockTile(const QString &desktopId, QObject *parent = nullptr);

    QString desktopId() const { return m_desktopId; }
    // The text of the badge; empty when there is none.
    QString badgeLabel() const { return m_badgeLabel; }
    // An empty label removes the badge. A label that is not a whole number cannot be sent as a
    // launcher count: the launchers then show no badge.
    void setBadgeLabel(const QString &label);

signals:
    void badgeLabelChanged(const QString &label);

private:
    void sendUpdate() const;

    QString m_desktopId;
    QString m_badgeLabel;
};
