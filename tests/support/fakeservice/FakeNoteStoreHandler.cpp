#include "tests/support/fakeservice/FakeNoteStoreHandler.h"

#include "tests/support/fakeservice/FakeService.h"

FakeAccount &FakeNoteStoreHandler::account(const std::string &authenticationToken)
{
    return m_service.accountForToken(authenticationToken, m_shardId);
}

void FakeNoteStoreHandler::getSyncChunk(edam::EDAMSyncChunk &result, const std::string &authenticationToken,
                                        int32_t afterUSN, int32_t maxEntries, bool fullSyncOnly)
{
    result = account(authenticationToken).syncChunk(afterUSN, maxEntries, fullSyncOnly);
}

void FakeNoteStoreHandler::listNotebooks(std::vector<edam::EDAMNotebook> &result,
                                         const std::string &authenticationToken)
{
    result = account(authenticationToken).notebooks();
}

void FakeNoteStoreHandler::getDefaultNotebook(edam::EDAMNotebook &result, const std::string &authenticationToken)
{
    result = account(authenticationToken).defaultNotebook();
}

void FakeNoteStoreHandler::createNotebook(edam::EDAMNotebook &result, const std::string &authenticationToken,
                                          const edam::EDAMNotebook &notebook)
{
    result = account(authenticationToken).createNotebook(notebook);
}

int32_t FakeNoteStoreHandler::updateNotebook(const std::string &authenticationToken,
                                             const edam::EDAMNotebook &notebook)
{
    return account(authenticationToken).updateNotebook(notebook);
}

int32_t FakeNoteStoreHandler::expungeNotebook(const std::string &authenticationToken, const std::string &guid)
{
    return account(authenticationToken).expungeNotebook(guid);
}

void FakeNoteStoreHandler::listTags(std::vector<edam::EDAMTag> &result, const std::string &authenticationToken)
{
    result = account(authenticationToken).tags();
}

void FakeNoteStoreHandler::createTag(edam::EDAMTag &result, const std::string &authenticationToken,
                                     const edam::EDAMTag &tag)
{
    result = account(authenticationToken).createTag(tag);
}

int32_t FakeNoteStoreHandler::updateTag(const std::string &authenticationToken, const edam::EDAMTag &tag)
{
    return account(authenticationToken).updateTag(tag);
}

int32_t FakeNoteStoreHandler::expungeTag(const std::string &authenticationToken, const std::string &guid)
{
    return account(authenticationToken).expungeTag(guid);
}

void FakeNoteStoreHandler::getNoteContent(std::string &result, const std::string &authenticationToken,
                                          const std::string &guid)
{
    result = account(authenticationToken).noteContent(guid);
}

void FakeNoteStoreHandler::createNote(edam::EDAMNote &result, const std::string &authenticationToken,
                                      const edam::EDAMNote &note)
{
    result = account(authenticationToken).createNote(note);
}

void FakeNoteStoreHandler::updateNote(edam::EDAMNote &result, const std::string &authenticationToken,
                                      const edam::EDAMNote &note)
{
    result = account(authenticationToken).updateNote(note);
}

int32_t FakeNoteStoreHandler::expungeNote(const std::string &authenticationToken, const std::string &guid)
{
    return account(authenticationToken).expungeNote(guid);
}
