#include "core/credentials/SecretCall.h"

#include "core/MainThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

// Qt defines "signals" as a keyword; GLib uses it as a field name.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <memory>

void SecretCall::run(const Operation &operation, std::chrono::milliseconds timeLimit)
{
    GCancellable *cancellable = g_cancellable_new();
    std::unique_ptr<QThread> worker(QThread::create([&operation, cancellable] {
        operation(cancellable);
    }));

    if (QCoreApplication::instance() && isMainThread()) {
        QEventLoop loop;
        QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &loop,
                         [cancellable] { g_cancellable_cancel(cancellable); });
        worker->start();
        deadline.start(timeLimit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    } else {
        worker->start();
        if (!worker->wait(QDeadlineTimer(timeLimit)))
            g_cancellable_cancel(cancellable);
    }
    // Every libsecret call ends promptly once cancelled, so this wait is short; the operation
    // refers to the caller's variables and must not outlive this frame.
    worker->wait();
    g_object_unref(cancellable);
}
