#pragma once

#include "sync/SyncProgress.h"

#include <QVariantMap>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class ManagedObjectContext;
class SyncSession;

// One synchronisation run, a queued operation: the driver makes one with the store context and
// adds main() to the operation queue, whose worker runs it. main() authenticates, runs the
// steps of its kind, and always ends by posting "hideSyncStatus" with {"success": …} (and, when
// an exception ended the run, "message": what to tell the user). Any exception ends the run at
// once; what it wrote so far stays, and "chunkHighUSN" keeps what was taken in.
class SyncRun
{
public:
    explicit SyncRun(ManagedObjectContext *moc); // initWithManagedObjectContext:
    virtual ~SyncRun();
    SyncRun(const SyncRun &) = delete;
    SyncRun &operator=(const SyncRun &) = delete;

    ManagedObjectContext *moc() const { return m_moc; }

    void main();

    // Called on the run's thread as it sends and receives.
    void setProgressHandler(std::function<void(const SyncProgress &)> handler) { m_progress = std::move(handler); }
    // From any thread: the run ends at its next step, as a failed run; what it has not sent
    // stays marked.
    void stop() { m_stop->store(true); }

    // Posts "hideSyncStatus" with this run as its object.
    void launchHideSyncStatusNotification(const QVariantMap &result);

protected:
    // The steps after authentication.
    virtual void steps(SyncSession &session) = 0;
    // Where the run's mark starts, given the stored "chunkHighUSN".
    virtual int32_t startingMark(int32_t stored) const { return stored; }

private:
    ManagedObjectContext *m_moc;
    std::function<void(const SyncProgress &)> m_progress;
    std::shared_ptr<std::atomic<bool>> m_stop = std::make_shared<std::atomic<bool>>(false);
};
