#pragma once

#include "service/EDAMTypes.h"

#include <thrift/protocol/TProtocol.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

// The note store: a user's notebooks, tags and notes. Every call takes the authentication
// token of the user store's authentication result first. Each operation is one call, sent and
// answered on the calling thread; a client serves one thread and is dropped after its calls.
// An absent string or struct argument is left out of the call. Failures are raised as
// described in ThriftCall.h.
class EDAMNoteStoreClient
{
public:
    using Protocol = apache::thrift::protocol::TProtocol;
    using Token = std::optional<std::string>;

    explicit EDAMNoteStoreClient(std::shared_ptr<Protocol> protocol);
    EDAMNoteStoreClient(std::shared_ptr<Protocol> inProtocol, std::shared_ptr<Protocol> outProtocol);

    EDAMSyncChunk getSyncChunk(const Token &authenticationToken, int32_t afterUSN, int32_t maxEntries,
                               bool fullSyncOnly);

    std::vector<EDAMNotebook> listNotebooks(const Token &authenticationToken);
    EDAMNotebook getDefaultNotebook(const Token &authenticationToken);
    EDAMNotebook createNotebook(const Token &authenticationToken,
                                const std::optional<EDAMNotebook> &notebook);
    int32_t updateNotebook(const Token &authenticationToken,
                           const std::optional<EDAMNotebook> &notebook);
    int32_t expungeNotebook(const Token &authenticationToken, const std::optional<std::string> &guid);

    std::vector<EDAMTag> listTags(const Token &authenticationToken);
    EDAMTag createTag(const Token &authenticationToken, const std::optional<EDAMTag> &tag);
    int32_t updateTag(const Token &authenticationToken, const std::optional<EDAMTag> &tag);
    int32_t expungeTag(const Token &authenticationToken, const std::optional<std::string> &guid);

    std::string getNoteContent(const Token &authenticationToken, const std::optional<std::string> &guid);
    EDAMNote createNote(const Token &authenticationToken, const std::optional<EDAMNote> &note);
    EDAMNote updateNote(const Token &authenticationToken, const std::optional<EDAMNote> &note);
    int32_t expungeNote(const Token &authenticationToken, const std::optional<std::string> &guid);

private:
    std::shared_ptr<Protocol> m_in;
    std::shared_ptr<Protocol> m_out;
};
