#pragma once

#include "core/platform/DockTile.h"
#include "core/MidnightTimer.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <atomic>

class ManagedObjectContext;

// The application's reminders of the day: the launcher badge with the number of open tasks due
// by tonight, the launch and quit panels with the counts, and the refresh after midnight. The
// application delegate owns one for its main window.
//
// The badge follows "ShowDockTile": every task setter that can change the count posts it, and
// so may a whole selection's worth of them in one go, so the recount runs once when control
// returns to the event loop. It is also recounted at each new day, because tomorrow's tasks
// become today's at midnight. While the badge is on, the window's title shows it too.
class TaskReminders : public QObject
{
    Q_OBJECT
public:
    // `desktopId` names the launcher the badge goes to (DockTile).
    TaskReminders(ManagedObjectContext *context, QWidget *window, const QString &desktopId,
                  QObject *parent = nullptr);
    ~TaskReminders() override;

    // Recounts the badge now; with the setting "ShowDockTile" off, removes it.
    void changeDockTileNumber();
    // Shows the launch panel (today's and the overdue tasks) and waits until it is closed.
    void sayTasksAtLaunch();
    // Shows the quit panel (today's, the overdue and tomorrow's tasks) and waits until it is closed.
    void sayTasksAtFinish();

    DockTile &dockTile() { return m_dockTile; }
    MidnightTimer &midnightTimer() { return m_midnightTimer; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Any thread: one recount on the main thread, however many ask before it runs.
    void dockTileNeedsUpdate();
    void showBadgeInTitle(const QString &label);

    ManagedObjectContext *m_context;
    QPointer<QWidget> m_window;
    QString m_windowTitle;
    DockTile m_dockTile;
    MidnightTimer m_midnightTimer;
    std::atomic<bool> m_recountPending = false;
};
