#pragma once

#include "NoteStore.h"

class FakeAccount;
class FakeService;

// The fake's note store of one shard: each call finds the account of its token and runs there.
class FakeNoteStoreHandler : public edam::NoteStoreIf
{
public:
    FakeNoteStoreHandler(FakeService &service, std::string shardId)
        : m_service(service)
        , m_shardId(std::move(shardId))
    {
    }

    void getSyncChunk(edam::EDAMSyncChunk &result, const std::string &authenticationToken,
                      int32_t afterUSN, int32_t maxEntries, bool fullSyncOnly) override;
    void listNotebooks(std::vector<edam::EDAMNotebook> &result, const std::string &authenticationToken) override;
    void getDefaultNotebook(edam::EDAMNotebook &result, const std::string &authenticationToken) override;
    void createNotebook(edam::EDAMNotebook &result, const std::string &authenticationToken,
                        const edam::EDAMNotebook &notebook) override;
    int32_t updateNotebook(const std::string &authenticationToken, const edam::EDAMNotebook &notebook) override;
    int32_t expungeNotebook(const std::string &authenticationToken, const std::string &guid) override;
    void listTags(std::vector<edam::EDAMTag> &result, const std::string &authenticationToken) override;
    void createTag(edam::EDAMTag &result, const std::string &authenticationToken, const edam::EDAMTag &tag) override;
    int32_t updateTag(const std::string &authenticationToken, const edam::EDAMTag &tag) override;
    int32_t expungeTag(const std::string &authenticationToken, const std::string &guid) override;
    void getNoteContent(std::string &result, const std::string &authenticationToken, const std::string &guid) override;
    void createNote(edam::EDAMNote &result, const std::string &authenticationToken, const edam::EDAMNote &note) override;
    void updateNote(edam::EDAMNote &result, const std::string &authenticationToken, const edam::EDAMNote &note) override;
    int32_t expungeNote(const std::string &authenticationToken, const std::string &guid) override;

private:
    FakeAccount &account(const std::string &authenticationToken);

    FakeService &m_service;
    const std::string m_shardId;
};
