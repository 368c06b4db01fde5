#pragma once

#include "content/TypesConversor.h"
#include "sync/NoteStoreActions.h"

#include <memory>

// The service as one synchronisation run sees it: it authenticates once, when it is made, and
// serves every note-store call of the run with that authentication (NoteStoreActions). It
// belongs to the run that made it, on that run's thread, and goes with it.
//
//     std::unique_ptr<EvernoteSync> service = EvernoteSync::init();
//     if (!service)
//         return; // no credentials, refused, or the service out of reach
//     EDAMNote note = TypesConversor::noteWithGuid(task, service->contentFetch());
//     std::optional<EDAMNote> updated = service->updateNote(note);
class EvernoteSync : public NoteStoreActions
{
public:
    // Authenticates with the credentials of SharedData; none when that gave no result. A pane
    // says when the credentials are missing or refused; a service out of reach shows nothing
    // (the run's own status tells), and a version refused shows nothing either.
    static std::unique_ptr<EvernoteSync> init();
    // The content fetch holds on to this object.
    EvernoteSync(const EvernoteSync &) = delete;
    EvernoteSync &operator=(const EvernoteSync &) = delete;

    // Authenticates again; on failure the earlier authentication, if any, stays.
    void setAuthenticationResult();

    // The content fetch of TypesConversor::noteWithGuid for this run, over its authentication:
    // one request per task (contentForUpdate). Valid while this object lives.
    TypesConversor::ContentFetch contentFetch();

private:
    EvernoteSync();
};
