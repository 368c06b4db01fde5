#pragma once

#include "service/EDAMTypes.h"
#include "sync/SecretRedaction.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class EDAMNoteStoreClient;
class EDAMUserException;

// The per-object operations of the server actions over one authentication, with the failure
// handling both forms share: each builds a note-store client on the user's shard, makes its one
// call with the authentication token, and turns the service's refusals into its failure value.
// Without an authentication every operation answers its failure value at once.
//
// What an operation catches, it reports with the "UPDATE_ERROR" pane and a log line, or drops
// silently; what it does not catch (a transport failure, a system exception such as the rate
// limit, an unreadable reply) reaches the caller and ends the run. Nothing is retried. The
// authentication token never appears in a pane, a log line or an exception that leaves.
class NoteStoreActions
{
public:
    // The two forms differ only in the log lines of the note operations: a run says which
    // operation failed and on which note.
    enum class Form { ServerActions, Run };

    NoteStoreActions(std::optional<EDAMAuthenticationResult> auth, Form form);

    // The authentication the operations use; none when it failed.
    const std::optional<EDAMAuthenticationResult> &auth() const { return m_auth; }

    // None when not authenticated; every failure reaches the caller.
    std::optional<QString> getDefaultNotebook();
    std::optional<EDAMSyncChunk> getSyncChunck(int32_t afterUSN, int32_t maxEntries, bool fullSyncOnly);
    // None on any failure, which is logged and never shown.
    std::optional<QString> getNoteContent(const QString &guid);

    // A create refused because the name is taken answers the service's object of exactly that
    // name, or none (silently) when the service has it only in another letter case.
    std::optional<EDAMNotebook> createNotebook(const EDAMNotebook &notebook);
    std::optional<EDAMTag> createTag(const EDAMTag &tag);
    std::optional<EDAMNote> createNote(const EDAMNote &note);
    // The updated note, or none.
    std::optional<EDAMNote> updateNote(const EDAMNote &note);
    // The new update sequence number, or -1.
    int32_t updateNotebook(const EDAMNotebook &notebook);
    int32_t deleteNotebook(const QString &guid);
    int32_t updateTag(const EDAMTag &tag);
    int32_t deleteTag(const QString &guid);
    int32_t deleteNote(const QString &guid);

    // The last refused operation failed because the service has no such object (any more),
    // rather than because it would not do it: a deletion of something already gone.
    bool lastCallFoundNothing() const { return m_foundNothing; }

    // The content an updated task's conversion starts from. Unlike getNoteContent, only the
    // service's refusal to give it (a user or not-found exception, logged) answers none; a
    // failure that would end the run ends it here, before an update built on no content could
    // replace what the note holds.
    std::optional<QString> contentForUpdate(const QString &guid);

protected:
    void setAuth(std::optional<EDAMAuthenticationResult> auth);

private:
    // How a refused operation reports: the log format of a run (the generic "%@" otherwise),
    // the note's title logged after it, and whether the service's not-found answer is a
    // failure of its own or left to the caller.
    struct Refusal
    {
        const char *runFormat = nullptr;
        std::optional<std::string> title{};
        bool notFoundIsFailure = true;
    };

    template <typename Result>
    Result onShard(Result notAuthenticated, const std::function<Result(EDAMNoteStoreClient &)> &call) const;
    template <typename Result>
    Result refused(Result failure, const Refusal &refusal, const std::function<Result()> &call) const;
    // onShard and refused together: the one call, with its refusals turned into the failure.
    template <typename Result>
    Result attempt(Result failure, const Refusal &refusal, const std::function<Result(EDAMNoteStoreClient &)> &call) const;
    template <typename Object>
    std::optional<Object> createOrJoin(const Object &object, const char *nameParameter,
                                       const std::function<Object(EDAMNoteStoreClient &)> &create,
                                       const std::function<std::vector<Object>(EDAMNoteStoreClient &)> &list);
    void report(const EDAMUserException &refusal, const Refusal &how) const;
    void logFailure(const std::exception &failure) const;
    std::optional<std::string> token() const;

    std::optional<EDAMAuthenticationResult> m_auth;
    Form m_form;
    SecretRedaction m_secrets;
    mutable bool m_foundNothing = false;
};
