#include "sync/FirstSync.h"

#include "core/Defaults.h"
#include "core/SettingsKeys.h"
#include "sync/ChunkApplier.h"
#include "sync/SyncSession.h"
#include "sync/SyncUploader.h"

void FirstSync::steps(SyncSession &session)
{
    session.storeDefaultNotebook();
    // Fetched before anything is sent, so it holds none of the objects this run creates.
    const SyncChunks chunks = session.fetchChunks(0, true);

    SyncUploader uploader(session);
    uploader.sendNewNotebooks();
    uploader.sendNewTags();
    uploader.sendNewTasks(chunks);
    session.storeMark();
    session.saveData(true);

    ChunkApplier applier(session, ChunkApplier::First);
    applier.applyNotebooks(chunks);
    applier.applyTags(chunks);
    applier.applyNotes(chunks);

    session.saveData(true);
    session.storeMark();
    session.hop([] { Defaults::standardUserDefaults().setBool(Key::firstSync, false); });
}
