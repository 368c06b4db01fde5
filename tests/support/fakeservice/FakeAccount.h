#pragma once

#include "service/EDAMTypes.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// One user's account on the fake service: notebooks, tags and notes with the service's update
// sequence number bookkeeping. Every change takes the next number of the account; expunged
// objects are remembered with theirs, so a sync chunk can list them.
//
// The note-store calls refuse what the service would refuse from this application (a missing
// or badly formed name or title, a name taken in any letter case, content that is not en-note
// XML), throwing its exceptions. Safe to use from a test while the service serves.
class FakeAccount
{
public:
    // The service's error codes; RateLimitReached comes as a system exception (FakeFault::rateLimit).
    enum ErrorCode : int32_t {
        BadDataFormat = 2,
        DataRequired = 5,
        InvalidAuth = 8, // wrong user name, password or token
        DataConflict = 10,
        EnmlValidation = 11,
        RateLimitReached = 19,
    };

    // A new account holds one notebook, its default, named "<username>'s notebook".
    FakeAccount(int32_t userId, const std::string &username, const std::string &password,
                const std::string &shardId);

    std::string shardId() const { return m_shardId; }
    bool hasPassword(const std::string &password) const { return password == m_password; }
    EDAMUser user() const;

    std::vector<EDAMNotebook> notebooks() const;
    std::vector<EDAMTag> tags() const;
    // Notes with their content.
    std::vector<EDAMNote> notes() const;

    // The note store's calls. Updates keep every field they leave unset.
    EDAMNotebook defaultNotebook() const;
    EDAMNotebook createNotebook(const EDAMNotebook &notebook);
    int32_t updateNotebook(const EDAMNotebook &notebook);
    // The notebook's notes move to the default notebook, into the trash.
    int32_t expungeNotebook(const std::string &guid);
    EDAMTag createTag(const EDAMTag &tag);
    int32_t updateTag(const EDAMTag &tag);
    int32_t expungeTag(const std::string &guid);
    std::string noteContent(const std::string &guid) const;
    // The note comes back without content, as from the service.
    EDAMNote createNote(const EDAMNote &note);
    EDAMNote updateNote(const EDAMNote &note);
    int32_t expungeNote(const std::string &guid);
    // Objects changed after afterUSN in the order of their numbers, at most maxEntries;
    // notes without content; expunged guids unless fullSyncOnly. Empty lists are left unset.
    EDAMSyncChunk syncChunk(int32_t afterUSN, int32_t maxEntries, bool fullSyncOnly) const;

    // Shorthands for scripting; an empty content stands for an empty note.
    EDAMNotebook addNotebook(const std::string &name);
    EDAMTag addTag(const std::string &name);
    EDAMNote addNote(const std::string &title, const std::string &content = {});

private:
    struct Expunged
    {
        enum Kind { Notebook, Tag, Note } kind;
        std::string guid;
        int32_t updateSequenceNum;
    };

    // A name is required when creating; an update may leave it out.
    template <typename Object>
    void checkName(const Object &object, const std::vector<Object> &others, const std::string &parameter,
                   bool required) const;
    void checkNote(const EDAMNote &note, bool required) const;
    // A note's tags sent by name: each the tag of that name in any letter case, made when there
    // is none. A list sent, even an empty one, replaces the note's tags.
    void takeTagNames(EDAMNote &stored, const EDAMNote &sent);
    template <typename Object>
    Object createNamed(std::vector<Object> &list, const Object &object, const std::string &parameter);
    template <typename Object>
    int32_t updateNamed(std::vector<Object> &list, const Object &object, const std::string &kind);
    template <typename Object>
    int32_t expunge(std::vector<Object> &list, const std::string &guid, const std::string &parameter,
                    Expunged::Kind kind);

    mutable std::mutex m_mutex;
    const int32_t m_userId;
    const std::string m_username;
    const std::string m_password;
    const std::string m_shardId;
    int32_t m_updateCount = 0;
    std::string m_defaultNotebookGuid;
    std::vector<EDAMNotebook> m_notebooks;
    std::vector<EDAMTag> m_tags;
    std::vector<EDAMNote> m_notes;
    std::vector<Expunged> m_expunged;
};
