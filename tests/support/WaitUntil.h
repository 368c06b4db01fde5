#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>

// Runs the event loop until `condition` holds, for at most `timeoutMs`; true when it held. It
// needs only a QCoreApplication, so the suites without widgets can wait on queued work too.
inline bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        // Objects handed to deleteLater() go here as they would in the application's loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(2);
    }
    return true;
}
