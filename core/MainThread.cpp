#include "core/MainThread.h"

#include "core/Log.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace {
// Taken while the program starts (static initialisation runs on the process's first thread) and
// again when the application object is made, on the thread that makes it. Asking the
// application for its thread instead would leave no answer once it is gone, and every thread
// would then pass for the main one.
std::atomic<std::thread::id> mainThreadId{std::this_thread::get_id()};
std::atomic<int> blockingCallsServed{0};
std::atomic<std::chrono::nanoseconds::rep> longestBlockingCall{0};

void noteBlockingCall(std::chrono::nanoseconds took)
{
    std::chrono::nanoseconds::rep longest = longestBlockingCall.load(std::memory_order_relaxed);
    while (took.count() > longest
           && !longestBlockingCall.compare_exchange_weak(longest, took.count(), std::memory_order_relaxed)) {
    }
}

void recordMainThread()
{
    mainThreadId.store(std::this_thread::get_id());
}

[[noreturn]] void refuse(const QString &why)
{
    Log::line(QStringLiteral("%@"), {why});
    throw std::logic_error(why.toStdString());
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(recordMainThread)

bool isMainThread()
{
    return std::this_thread::get_id() == mainThreadId.load();
}

bool isServingBlockingCall()
{
    return isMainThread() && blockingCallsServed.load() > 0;
}

void postToMainThread(std::function<void()> fn, QObject *context)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app) {
        Log::line(QStringLiteral("A call posted to the main thread is dropped: there is no application to run it"));
        return;
    }
    QMetaObject::invokeMethod(context ? context : app, [fn = std::move(fn)] {
        try {
            fn();
        } catch (const std::exception &e) {
            Log::line(QStringLiteral("A call posted to the main thread failed: %@"), {QString::fromUtf8(e.what())});
        } catch (...) {
            Log::line(QStringLiteral("A call posted to the main thread failed with an unknown exception"));
        }
    }, Qt::QueuedConnection);
}

std::chrono::nanoseconds takeLongestBlockingCall()
{
    return std::chrono::nanoseconds(longestBlockingCall.exchange(0, std::memory_order_relaxed));
}

void MainThreadDetail::blockingCall(const std::function<void()> &call)
{
    if (isMainThread()) {
        call();
        return;
    }
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        refuse(QStringLiteral("A worker's call for the main thread is refused: the application is gone, and the call "
                              "must not run on the worker"));
    std::exception_ptr failure;
    bool ran = false;
    // Nothing the call throws may reach the main thread's event loop: it is carried back here.
    const bool delivered = QMetaObject::invokeMethod(app, [&] {
        ran = true;
        ++blockingCallsServed;
        const auto start = std::chrono::steady_clock::now();
        try {
            call();
        } catch (...) {
            failure = std::current_exception();
        }
        noteBlockingCall(std::chrono::steady_clock::now() - start);
        --blockingCallsServed;
    }, Qt::BlockingQueuedConnection);
    if (!delivered || !ran)
        refuse(QStringLiteral("A worker's call for the main thread was dropped unrun: the application went away"));
    if (failure)
        std::rethrow_exception(failure);
}
