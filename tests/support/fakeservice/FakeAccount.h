#pragma once

#include "service/EDAMTypes.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// One user's account on the fake service: notebooks, tags and notes with the service's update
// sequence number bookkeeping. Every change takes the next number of the account; expunged
// objects are remembered with theirs, so a sync chunk can list them.
//
// The note-store calls validate and refuse as the service does, throwing its exceptions; tests
// script an account through the same operations (or the add… shorthands), so what they set up
// is what a client could have made. Safe to use from a test while the service serves.
class FakeAccount
{
public:
    // The service's error codes, as far as they are known. The application acts on
    // DataConflict alone; RateLimitReached comes as a system exception (FakeFault::rateLimit).
    enum ErrorCode : int32_t {
        BadDataFormat = 2,
        DataRequired = 5,
        InvalidAuth = 8, // wrong user name, password or token
        AuthExpired = 9,
        DataConflict = 10,
        EnmlValidation = 11,
        RateLimitReached = 19,
    };

    // A new account holds one notebook, its default, named "<username>'s notebook".
    FakeAccount(int32_t userId, const std::string &username, const std::string &password,
                const std::string &shardId);

    int32_t userId() const { return m_userId; }
    std::string username() const { return m_username; }
    std::string shardId() const { return m_shardId; }
    bool hasPassword(const std::string &password) const;
    // The user as authentication describes it: every field, its attributes and accounting.
    EDAMUser user() const;

    int32_t updateCount() const;
    std::vector<EDAMNotebook> notebooks() const;
    std::vector<EDAMTag> tags() const;
    // Notes with their content.
    std::vector<EDAMNote> notes() const;
    std::optional<EDAMNote> note(const std::string &guid) const;

    // The note store's calls. Updates keep every field they leave unset; a name, title or
    // content that is set is checked as on creation (content must be XML whose root is en-note).
    EDAMNotebook defaultNotebook() const;
    EDAMNotebook createNotebook(const EDAMNotebook &notebook);
    int32_t updateNotebook(const EDAMNotebook &notebook);
    // The notebook's notes move to the default notebook, into the trash.
    int32_t expungeNotebook(const std::string &guid);
    EDAMTag createTag(const EDAMTag &tag);
    int32_t updateTag(const EDAMTag &tag);
    int32_t expungeTag(const std::string &guid);
    std::string noteContent(const std::string &guid) const;
    // Tags named in tagNames are found by name or created; the note comes back without content.
    EDAMNote createNote(const EDAMNote &note);
    // Fields not set keep their values.
    EDAMNote updateNote(const EDAMNote &note);
    int32_t expungeNote(const std::string &guid);
    // Objects changed after afterUSN in the order of their numbers, at most maxEntries;
    // notes without content; expunged guids unless fullSyncOnly. Empty lists are left unset.
    EDAMSyncChunk syncChunk(int32_t afterUSN, int32_t maxEntries, bool fullSyncOnly) const;

    // Shorthands for scripting.
    EDAMNotebook addNotebook(const std::string &name);
    EDAMTag addTag(const std::string &name, const std::string &parentGuid = {});
    // An empty content stands for an empty note; an empty notebook guid for the default one.
    EDAMNote addNote(const std::string &title, const std::string &content = {},
                     const std::string &notebookGuid = {}, const std::vector<std::string> &tagGuids = {});

    // The content a note gets when it is created without one.
    static std::string emptyContent();

private:
    struct Expunged
    {
        enum Kind { Notebook, Tag, Note } kind;
        std::string guid;
        int32_t updateSequenceNum;
    };

    // A name or title is required when creating; an update may leave it out.
    void checkNotebookName(const EDAMNotebook &notebook, bool required) const;
    void checkTagName(const EDAMTag &tag, bool required) const;
    void checkNote(const EDAMNote &note, bool required) const;
    std::vector<std::string> resolveTags(const EDAMNote &note);
    static void setContent(EDAMNote &note, const std::string &content);

    mutable std::mutex m_mutex;
    const int32_t m_userId;
    const std::string m_username;
    const std::string m_password;
    const std::string m_shardId;
    const int64_t m_created;
    int32_t m_updateCount = 0;
    std::string m_defaultNotebookGuid;
    std::vector<EDAMNotebook> m_notebooks;
    std::vector<EDAMTag> m_tags;
    std::vector<EDAMNote> m_notes;
    std::vector<Expunged> m_expunged;
};
