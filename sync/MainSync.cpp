#include "sync/MainSync.h"

#include "sync/ChunkApplier.h"
#include "sync/SyncSession.h"
#include "sync/SyncUploader.h"

void MainSync::steps(SyncSession &session)
{
    const int32_t after = session.mark().stored();
    session.saveData(false);
    session.storeDefaultNotebook();
    // Fetched before anything is sent: a task whose note changed elsewhere more recently is
    // then left for the chunk instead of overwriting the other device's version.
    const SyncChunks chunks = session.fetchChunks(after, false);

    SyncUploader uploader(session);
    uploader.sendDeletedNotebooks(chunks);
    uploader.sendNewNotebooks();
    uploader.sendChangedNotebooks();
    uploader.sendDeletedTags(chunks);
    uploader.sendNewTags();
    uploader.sendChangedTags();
    uploader.sendNewTasks(chunks);
    uploader.sendChangedTasks(chunks);
    session.storeMark();
    session.saveData(false);

    ChunkApplier applier(session, ChunkApplier::Incremental);
    applier.applyExpunged(chunks);
    session.saveData(false);
    applier.applyNotebooks(chunks);
    applier.applyTags(chunks);
    applier.applyNotes(chunks);
    // What applying the chunk made ready to go is sent now rather than by the next run: tasks
    // moved out of a notebook the service expunged, notes texts kept here.
    if (uploader.heldBack() || applier.keptLocalNotes()) {
        uploader.sendNewTasks(SyncChunks());
        uploader.sendChangedTasks(SyncChunks());
    }

    session.saveData(false);
    session.storeMark();
}
