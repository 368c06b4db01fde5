#pragma once

#include "sync/SyncProgress.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <set>

class ManagedObjectContext;
class OperationQueue;
class SyncRun;

// When runs happen and how many: the application delegate's triggers (the sync button, the
// launch, the quit, the preferences) end here, and so does the periodic timer. A trigger while a
// run waits in the queue, not started yet, adds nothing: that run will take in the same changes,
// and a slow service does not collect a pile of runs. Main thread only; the runs work on the
// queue's worker.
class SyncDriver : public QObject
{
    Q_OBJECT
public:
    enum class Kind { First, Incremental };

    SyncDriver(OperationQueue &queue, std::function<ManagedObjectContext *()> context, QObject *parent = nullptr);
    ~SyncDriver() override;

    // Queues a run of that kind, or joins the one waiting; false without a store.
    bool start(Kind kind);
    // A run announced its end ("hideSyncStatus"): the runs still queued or running.
    int runEnded();
    int outstanding() const { return m_outstanding; }

    // The periodic timer, from the settings: due while syncing is on, the first run done and the
    // interval not manual.
    void startTimerSync();
    void restartTimerSync();
    bool timerActive() const { return m_timer.isActive(); }
    int timerInterval() const { return m_timer.interval(); }

    // Asks every run queued or under way to stop at its next step (the quit will not wait):
    // what it sent stays sent, what it did not stays marked, and it ends as a failed run.
    void stopRuns();

signals:
    // The timer's turn: the delegate starts an incremental run.
    void timerFired();
    void progress(const SyncProgress &progress);

private:
    OperationQueue &m_queue;
    std::function<ManagedObjectContext *()> m_context;
    QTimer m_timer;
    int m_outstanding = 0;
    // Shared with the queued operation, which clears it when the run starts.
    std::shared_ptr<std::atomic<bool>> m_waiting = std::make_shared<std::atomic<bool>>(false);
    std::set<std::shared_ptr<SyncRun>> m_runs;
    bool m_abandoned = false; // this driver made the exchanges stop
};
