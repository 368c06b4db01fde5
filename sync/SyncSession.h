#pragma once

#include "core/MainThread.h"
#include "sync/GuidIndex.h"
#include "sync/SyncChunks.h"
#include "sync/SyncProgress.h"
#include "sync/UsnMark.h"

#include <QHash>
#include <QList>
#include <QMetaObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class EvernoteSync;
class ManagedObject;
class ManagedObjectContext;
class MyNotebook;
class MyTag;

// What one synchronisation run shares among its steps: the store context, the run's service
// object, the mark "chunkHighUSN" may move to, and the guid indexes. The run works on the
// operation queue's worker and reaches the store only through hop(): short calls on the main
// thread, never held across a network call. Methods marked "in a hop" run on the main thread.
class SyncSession
{
public:
    SyncSession(ManagedObjectContext &moc, EvernoteSync &service, int32_t storedMark);
    ~SyncSession();
    SyncSession(const SyncSession &) = delete;
    SyncSession &operator=(const SyncSession &) = delete;

    ManagedObjectContext &moc() const { return m_moc; }
    // Set by whoever wants the run to end at its next hop.
    void setStopFlag(std::shared_ptr<std::atomic<bool>> stop) { m_stop = std::move(stop); }
    void setProgressHandler(std::function<void(const SyncProgress &)> handler) { m_progress = std::move(handler); }
    void progress(SyncProgress::Phase phase, int done, int total) const
    {
        if (m_progress)
            m_progress({phase, done, total});
    }
    EvernoteSync &service() const { return m_service; }
    UsnMark &mark() { return m_mark; }

    // Runs `fn` on the main thread and returns its value; what it throws ends the run. Refused
    // once the store was replaced under the run (the account was reset): the run's objects
    // belong to a store that is gone, and writing them would fill the new one. Refused too once
    // the run was asked to stop.
    template <typename F>
    auto hop(F &&fn)
    {
        return blockingCallOnMainThread([this, &fn]() -> decltype(auto) {
            checkStore();
            return fn();
        });
    }

    // Builds the guid indexes in short hops, once, before the first lookup or write-back of a
    // guid; a run with nothing to send or take in never reads the store's guids.
    void buildIndexes();
    // The local objects by guid (in a hop).
    GuidIndex &notebookIndex() { return m_notebooks; }
    GuidIndex &tagIndex() { return m_tags; }
    GuidIndex &noteIndex() { return m_notes; }
    // In a hop: the local notebook with that guid, or none.
    MyNotebook *notebookWithGuid(const QString &guid);
    // In a hop: the local tags of these guids, each once, in order; unknown guids are skipped.
    QList<MyTag *> tagsForGuidsArray(const std::vector<std::string> &guids);
    // In a hop: the objects of a fetch; a fetch that fails logs `message` and finds nothing.
    QList<ManagedObject *> fetchOrLog(const char *entityName, const QString &predicate, const char *message) const;
    // In a hop: the update sequence number an object had before this run sent it, or
    // `current`. A chunk entry no newer than that is a version this store had already.
    int32_t knownUsn(const QString &guid, int32_t current) const { return m_usnBeforeSend.value(guid, current); }
    void rememberUsnBeforeSend(const QString &guid, int32_t usn) { m_usnBeforeSend.insert(guid, usn); }
    // In a hop that wrote into the store: the user's undo and redo history goes. Undoing an
    // edit made before the run would silently take back what the service sent, or what was
    // sent to it (undoing the creation of a task now on the service would leave its note there
    // and nothing here).
    void forgetUserHistory() const;

    // Commits pending edits and saves; a failed save is presented to the user and the run goes
    // on (what it wrote stays in memory, unsaved, for the next save).
    void saveData(bool logSaving);
    // Asks for the account's default notebook and stores it under "defaultNotebook".
    void storeDefaultNotebook();
    // Every chunk after `afterUSN` up to the account's update count.
    SyncChunks fetchChunks(int32_t afterUSN, bool fullSyncOnly);
    // Stores the mark under "chunkHighUSN" when it moved.
    void storeMark();

private:
    void checkStore() const;

    ManagedObjectContext &m_moc;
    EvernoteSync &m_service;
    UsnMark m_mark;
    std::optional<int32_t> m_storedMark; // what this run last stored
    GuidIndex m_notebooks;
    GuidIndex m_tags;
    GuidIndex m_notes;
    bool m_indexesBuilt = false;
    QHash<QString, int32_t> m_usnBeforeSend;
    std::shared_ptr<std::atomic<bool>> m_stop;
    std::function<void(const SyncProgress &)> m_progress;
    std::shared_ptr<std::atomic<bool>> m_storeReplaced = std::make_shared<std::atomic<bool>>(false);
    QMetaObject::Connection m_resetConnection;
};
