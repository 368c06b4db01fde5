#include "core/OperationQueue.h"

#include "core/Log.h"
#include "core/MainThread.h"

#include <QEventLoop>

#include <stdexcept>

OperationQueue::OperationQueue(QObject *parent)
    : QObject(parent)
{
    m_thread = QThread::create([this] { workerLoop(); });
    m_thread->setObjectName(QStringLiteral("OperationQueue"));
    m_thread->start();
}

OperationQueue::~OperationQueue()
{
    waitUntilAllOperationsAreFinished();
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread->wait();
    delete m_thread;
}

void OperationQueue::addOperation(Operation operation)
{
    {
        std::lock_guard lock(m_mutex);
        m_pending.push_back(std::move(operation));
    }
    m_wake.notify_all();
}

int OperationQueue::operationCount() const
{
    std::lock_guard lock(m_mutex);
    return int(m_pending.size()) + m_running;
}

void OperationQueue::workerLoop()
{
    for (;;) {
        Operation op;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [&] { return m_stopping || !m_pending.empty(); });
            if (m_pending.empty())
                return;
            op = std::move(m_pending.front());
            m_pending.pop_front();
            m_running = 1;
        }
        try {
            op();
        } catch (const std::exception &e) {
            qWarning("Operation ended with an exception: %s", e.what());
        } catch (...) {
            qWarning("Operation ended with an unknown exception");
        }
        bool drained;
        {
            std::lock_guard lock(m_mutex);
            m_running = 0;
            drained = m_pending.empty();
        }
        m_wake.notify_all();
        if (drained)
            emit allOperationsFinished();
    }
}

void OperationQueue::waitUntilAllOperationsAreFinished()
{
    // Both waits below would wait for themselves: say so instead of hanging the application.
    const auto refuse = [](const char *why) {
        Log::line(QStringLiteral("%@"), {QString::fromLatin1(why)});
        Q_ASSERT_X(false, "OperationQueue::waitUntilAllOperationsAreFinished", why);
        throw std::logic_error(why);
    };
    if (QThread::currentThread() == m_thread)
        refuse("Waiting for the operation queue from one of its own operations: it would wait for itself");
    if (isServingBlockingCall())
        refuse("Waiting for the operation queue inside a worker's call on the main thread: the worker is parked "
               "until the call returns, so the queue cannot drain");
    if (!isMainThread()) {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [&] { return m_pending.empty() && m_running == 0; });
        return;
    }
    // Serve the workers' hops to the main thread, and timers, until the queue is empty; the
    // user's input waits for the end (it could start what the wait is meant to finish). The
    // signal is queued, so a drain that happens before exec() still ends the loop.
    QEventLoop loop;
    connect(this, &OperationQueue::allOperationsFinished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    while (operationCount() > 0)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
}
