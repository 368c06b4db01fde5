#include "app/TasksStatusPanelController.h"

#include "core/Localized.h"
#include "core/StringFormat.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

TasksStatusPanelController::TasksStatusPanelController(int todayTasks, int overdueTasks, QWidget *parent)
    : QDialog(parent)
    , m_tasksForToday(todayTasks)
    , m_tasksOverdue(overdueTasks)
{
}

TasksStatusPanelController::~TasksStatusPanelController() = default;

QString TasksStatusPanelController::phrase(int count, const char *noneKey, const char *oneKey, const char *manyKey)
{
    if (count == 0)
        return Localized::string(QLatin1String(noneKey));
    if (count == 1)
        return Localized::string(QLatin1String(oneKey));
    return StringFormat::format(QStringLiteral("%d %@"), {count, Localized::string(QLatin1String(manyKey))});
}

void TasksStatusPanelController::windowLoaded(const QRect &frame, QLabel *icon, QLabel *head, QPushButton *button)
{
    setWindowModality(Qt::ApplicationModal);
    const QIcon appIcon = QApplication::windowIcon();
    if (appIcon.isNull())
        icon->hide();
    else
        icon->setPixmap(appIcon.pixmap(64, 64));
    QFont headFont = head->font();
    headFont.setBold(true);
    headFont.setPointSizeF(headFont.pointSizeF() * 1.25);
    head->setFont(headFont);
    connect(button, &QPushButton::clicked, this, &TasksStatusPanelController::closeWindow);

    resize(size().expandedTo(minimumSizeHint()));
    QRect around = frame;
    if (around.isEmpty()) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            around = screen->availableGeometry();
    }
    // Placed explicitly, so the dialog is not re-centred on its parent when shown.
    move(around.x() + around.width() / 2 - width() / 2, around.y() + around.height() / 2 - height() / 2);
}

void TasksStatusPanelController::showWindowModal()
{
    fillLabels();
    // A sentence longer than the panel widens it about the same centre.
    const QSize needed = size().expandedTo(minimumSizeHint());
    if (needed != size()) {
        const QPoint centre = pos() + QPoint(width() / 2, height() / 2);
        resize(needed);
        move(centre - QPoint(width() / 2, height() / 2));
    }
    exec();
}

void TasksStatusPanelController::closeWindow()
{
    done(QDialog::Accepted);
}
