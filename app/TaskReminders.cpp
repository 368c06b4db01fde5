#include "app/TaskReminders.h"

#include "core/Defaults.h"
#include "core/Localized.h"
#include "core/NotificationCenter.h"
#include "core/SettingsKeys.h"
#include "core/StringFormat.h"
#include "core/store/TaskCounts.h"
#include "app/ShowTasksFinishController.h"
#include "app/ShowTasksLaunchController.h"

#include <QEvent>
#include <QMetaObject>

TaskReminders::TaskReminders(ManagedObjectContext *context, QWidget *window, const QString &desktopId,
                             QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_window(window)
    , m_windowTitle(window ? window->windowTitle() : QString())
    , m_dockTile(desktopId)
{
    connect(&m_dockTile, &DockTile::badgeLabelChanged, this, &TaskReminders::showBadgeInTitle);
    connect(&m_midnightTimer, &MidnightTimer::dayChanged, this, &TaskReminders::changeDockTileNumber);
    NotificationCenter::defaultCenter().addObserver(this, QStringLiteral("ShowDockTile"),
                                                    [this](const Notification &) { dockTileNeedsUpdate(); });
    // A computer woken on a later day has missed the midnight timer: the user's return to the
    // window brings the lists and the badge to the new day.
    if (window)
        window->installEventFilter(this);
}

TaskReminders::~TaskReminders()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void TaskReminders::changeDockTileNumber()
{
    if (!Defaults::standardUserDefaults().boolForKey(Key::ShowDockTile)) {
        m_dockTile.setBadgeLabel(QString());
        return;
    }
    m_dockTile.setBadgeLabel(StringFormat::format(QStringLiteral("%d"), {TaskCounts::dockBadgeCount(m_context)}));
}

void TaskReminders::dockTileNeedsUpdate()
{
    if (m_recountPending.exchange(true))
        return;
    QMetaObject::invokeMethod(this, [this] {
        m_recountPending = false;
        changeDockTileNumber();
    }, Qt::QueuedConnection);
}

void TaskReminders::showBadgeInTitle(const QString &label)
{
    if (!m_window)
        return;
    // "(0) Kelvara" would read as something to look at: the title counts only what is due.
    bool isNumber = false;
    const qint64 count = label.toLongLong(&isNumber);
    const bool shown = !label.isEmpty() && (!isNumber || count > 0);
    m_window->setWindowTitle(shown ? Localized::format(QStringLiteral("TITLE_WITH_BADGE"), {label, m_windowTitle})
                                   : m_windowTitle);
}

void TaskReminders::sayTasksAtLaunch()
{
    const QRect frame = m_window ? m_window->frameGeometry() : QRect();
    const TaskCounts::Counts counts = TaskCounts::dueCounts(m_context);
    ShowTasksLaunchController panel(frame, counts.today, counts.overdue, m_window);
    panel.showWindowModal();
}

void TaskReminders::sayTasksAtFinish()
{
    const QRect frame = m_window ? m_window->frameGeometry() : QRect();
    const TaskCounts::Counts counts = TaskCounts::dueCounts(m_context);
    ShowTasksFinishController panel(frame, counts.today, counts.overdue, counts.tomorrow, m_window);
    panel.showWindowModal();
}

bool TaskReminders::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::WindowActivate)
        m_midnightTimer.refreshIfDayChanged();
    return QObject::eventFilter(watched, event);
}
