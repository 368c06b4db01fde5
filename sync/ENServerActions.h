#pragma once

#include "service/EDAMTypes.h"

#include <QString>

#include <cstdint>
#include <optional>

class NoteStoreActions;

// The server actions without state: every note-store operation authenticates afresh with the
// credentials of SharedData before its one call, and answers as NoteStoreActions describes.
// The preferences window checks a new password with authResult; everything a synchronisation
// run does goes through its EvernoteSync instead, which authenticates once.
class ENServerActions
{
public:
    // The credentials of SharedData; none on any failure, shown in a pane (a version refused
    // shows nothing).
    static std::optional<EDAMAuthenticationResult> authResultIn();
    // The given credentials; a refused login shows the service's description of the refusal.
    static std::optional<EDAMAuthenticationResult> authResult(const QString &userName, const QString &password);

    static std::optional<QString> getDefaultNotebook();
    static std::optional<EDAMSyncChunk> getSyncChunck(int32_t afterUSN, int32_t maxEntries, bool fullSyncOnly);
    // Three requests: the version check, the authentication, the content.
    static std::optional<QString> getNoteContent(const QString &guid);
    static std::optional<EDAMNotebook> createNotebook(const EDAMNotebook &notebook);
    static int32_t updateNotebook(const EDAMNotebook &notebook);
    static int32_t deleteNotebook(const QString &guid);
    static std::optional<EDAMTag> createTag(const EDAMTag &tag);
    static int32_t updateTag(const EDAMTag &tag);
    static int32_t deleteTag(const QString &guid);
    static std::optional<EDAMNote> createNote(const EDAMNote &note);
    static std::optional<EDAMNote> updateNote(const EDAMNote &note);
    static int32_t deleteNote(const QString &guid);

    ENServerActions() = delete;

private:
    static NoteStoreActions authenticated();
};
