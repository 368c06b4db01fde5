#pragma once

#include "NoteStore.h"
#include "tests/support/fakeservice/FakeService.h"

// The fake's note store of one shard: each call finds the account of its token and runs there.
class FakeNoteStoreHandler : public edam::NoteStoreIf
{
    using Token = const std::string &;

public:
    FakeNoteStoreHandler(FakeService &service, std::string shardId) : m_service(service), m_shardId(std::move(shardId)) {}

    void getSyncChunk(edam::EDAMSyncChunk &result, Token token, int32_t afterUSN, int32_t maxEntries, bool fullSyncOnly) override
    {
        result = account(token).syncChunk(afterUSN, maxEntries, fullSyncOnly);
    }
    void listNotebooks(std::vector<edam::EDAMNotebook> &result, Token token) override { result = account(token).notebooks(); }
    void getDefaultNotebook(edam::EDAMNotebook &result, Token token) override { result = account(token).defaultNotebook(); }
    void createNotebook(edam::EDAMNotebook &result, Token token, const edam::EDAMNotebook &notebook) override
    {
        result = account(token).createNotebook(notebook);
    }
    int32_t updateNotebook(Token token, const edam::EDAMNotebook &notebook) override { return account(token).updateNotebook(notebook); }
    int32_t expungeNotebook(Token token, const std::string &guid) override { return account(token).expungeNotebook(guid); }
    void listTags(std::vector<edam::EDAMTag> &result, Token token) override { result = account(token).tags(); }
    void createTag(edam::EDAMTag &result, Token token, const edam::EDAMTag &tag) override { result = account(token).createTag(tag); }
    int32_t updateTag(Token token, const edam::EDAMTag &tag) override { return account(token).updateTag(tag); }
    int32_t expungeTag(Token token, const std::string &guid) override { return account(token).expungeTag(guid); }
    void getNoteContent(std::string &result, Token token, const std::string &guid) override { result = account(token).noteContent(guid); }
    void createNote(edam::EDAMNote &result, Token token, const edam::EDAMNote &note) override { result = account(token).createNote(note); }
    void updateNote(edam::EDAMNote &result, Token token, const edam::EDAMNote &note) override { result = account(token).updateNote(note); }
    int32_t expungeNote(Token token, const std::string &guid) override { return account(token).expungeNote(guid); }

private:
    FakeAccount &account(Token token) { return m_service.accountForToken(token, m_shardId); }

    FakeService &m_service;
    const std::string m_shardId;
};
