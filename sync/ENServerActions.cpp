#include "sync/ENServerActions.h"

#include "sync/NoteStoreActions.h"
#include "sync/ServiceAuthentication.h"

using Caller = ServiceAuthentication::Caller;

std::optional<EDAMAuthenticationResult> ENServerActions::authResultIn()
{
    return ServiceAuthentication::withSharedData(Caller::ServerActions);
}

std::optional<EDAMAuthenticationResult> ENServerActions::authResult(const QString &userName, const QString &password)
{
    return ServiceAuthentication::withPassword(userName, password, Caller::PasswordCheck);
}

NoteStoreActions ENServerActions::authenticated()
{
    return NoteStoreActions(authResultIn(), NoteStoreActions::Form::ServerActions);
}

std::optional<QString> ENServerActions::getDefaultNotebook() { return authenticated().getDefaultNotebook(); }

std::optional<EDAMSyncChunk> ENServerActions::getSyncChunck(int32_t afterUSN, int32_t maxEntries, bool fullSyncOnly)
{
    return authenticated().getSyncChunck(afterUSN, maxEntries, fullSyncOnly);
}

std::optional<QString> ENServerActions::getNoteContent(const QString &guid) { return authenticated().getNoteContent(guid); }

std::optional<EDAMNotebook> ENServerActions::createNotebook(const EDAMNotebook &notebook)
{
    return authenticated().createNotebook(notebook);
}

int32_t ENServerActions::updateNotebook(const EDAMNotebook &notebook) { return authenticated().updateNotebook(notebook); }

int32_t ENServerActions::deleteNotebook(const QString &guid) { return authenticated().deleteNotebook(guid); }

std::optional<EDAMTag> ENServerActions::createTag(const EDAMTag &tag) { return authenticated().createTag(tag); }

int32_t ENServerActions::updateTag(const EDAMTag &tag) { return authenticated().updateTag(tag); }

int32_t ENServerActions::deleteTag(const QString &guid) { return authenticated().deleteTag(guid); }

std::optional<EDAMNote> ENServerActions::createNote(const EDAMNote &note) { return authenticated().createNote(note); }

std::optional<EDAMNote> ENServerActions::updateNote(const EDAMNote &note) { return authenticated().updateNote(note); }

int32_t ENServerActions::deleteNote(const QString &guid) { return authenticated().deleteNote(guid); }
