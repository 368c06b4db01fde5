#include "app/ErrorPaneAlerts.h"

#include "core/MainThread.h"
#include "ui/AlertSheet.h"

#include <QMessageBox>

ErrorPaneAlerts::ErrorPaneAlerts(QObject *parent)
    : QObject(parent)
{
}

QWidget *ErrorPaneAlerts::parentWindow() const
{
    return m_window && m_window->isVisible() ? m_window.data() : nullptr;
}

bool ErrorPaneAlerts::presentError(const AppError &error)
{
    QString message = error.text();
    if (!error.recoverySuggestion.isEmpty())
        message += QStringLiteral("\n\n") + error.recoverySuggestion;
    if (!isMainThread() || isServingBlockingCall()) {
        showErrorPane(message);
        return false;
    }
    AlertSheet::runModal(parentWindow(), QStringLiteral("Error"), message);
    // Our errors offer no recovery: the user can only acknowledge them.
    return false;
}

void ErrorPaneAlerts::showErrorPane(const QString &message)
{
    // Queued also on the main thread: a pane raised inside a worker's call is shown after it.
    postToMainThread([this, message] {
        if ((m_onScreen && m_onScreenMessage == message) || m_waiting.contains(message))
            return;
        m_waiting << message;
        showNext();
    }, this);
}

void ErrorPaneAlerts::showNext()
{
    if (m_onScreen || m_waiting.isEmpty())
        return;
    m_onScreenMessage = m_waiting.takeFirst();
    QMessageBox *box = AlertSheet::beginSheet(parentWindow(), QStringLiteral("Error"), m_onScreenMessage);
    m_onScreen = box;
    // Dismissed, or gone with its window: the next one may come.
    connect(box, &QObject::destroyed, this, &ErrorPaneAlerts::showNext, Qt::QueuedConnection);
}
