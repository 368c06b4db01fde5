#include "app/ErrorPane.h"

#include "core/MainThread.h"
#include "ui/AlertSheet.h"

#include <QCoreApplication>
#include <QMetaObject>

ErrorPane::ErrorPane(QWidget *window)
    : m_window(window)
{
}

void ErrorPane::showErrorPane() const
{
    auto show = [window = m_window, message = m_message] {
        AlertSheet::beginSheet(window, QStringLiteral("Error"), message);
    };
    if (isMainThread()) {
        show();
        return;
    }
    // Not a blocking hop: a worker never waits for the user.
    QMetaObject::invokeMethod(QCoreApplication::instance(), show, Qt::QueuedConnection);
}
