#pragma once

#include <QObject>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

// Runs queued operations (saves, synchronisation runs) on one worker thread, one at a time,
// in the order they were added.
class OperationQueue : public QObject
{
    Q_OBJECT
public:
    using Operation = std::function<void()>;

    explicit OperationQueue(QObject *parent = nullptr);
    ~OperationQueue() override; // finishes what is queued first

    void addOperation(Operation operation);
    // Operations queued or running.
    int operationCount() const;
    // Waits until the queue is empty. On the main thread it keeps serving events meanwhile (not
    // the user's input), so that operations hopping to the main thread can finish. Refused with
    // std::logic_error (an assertion in debug builds) where it could never end: from one of the
    // queue's own operations, or inside a worker's blocking call on the main thread.
    void waitUntilAllOperationsAreFinished();

signals:
    void allOperationsFinished();

private:
    void workerLoop();

    QThread *m_thread = nullptr;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Operation> m_pending;
    int m_running = 0;
    bool m_stopping = false;
};
