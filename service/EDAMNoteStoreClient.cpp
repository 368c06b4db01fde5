#include "service/EDAMNoteStoreClient.h"

#include "service/ThriftCall.h"

namespace {

constexpr auto Reads = ThriftCall::Effect::Reads;
constexpr auto Changes = ThriftCall::Effect::Changes;
constexpr auto UserOrSystem = ThriftCall::Raises::UserOrSystem;
constexpr auto UserSystemOrNotFound = ThriftCall::Raises::UserSystemOrNotFound;

} // namespace

EDAMNoteStoreClient::EDAMNoteStoreClient(std::shared_ptr<Protocol> protocol)
    : EDAMNoteStoreClient(protocol, protocol)
{
}

EDAMNoteStoreClient::EDAMNoteStoreClient(std::shared_ptr<Protocol> inProtocol,
                                         std::shared_ptr<Protocol> outProtocol)
    : m_in(std::move(inProtocol))
    , m_out(std::move(outProtocol))
{
}

EDAMSyncChunk EDAMNoteStoreClient::getSyncChunk(const Token &authenticationToken, int32_t afterUSN,
                                                int32_t maxEntries, bool fullSyncOnly)
{
    return ThriftCall::invoke<EDAMSyncChunk>(*m_in, *m_out, "getSyncChunk", Reads, UserOrSystem,
                                             [&](ThriftCall &call) {
                                                 call.writeString(1, "authenticationToken", authenticationToken);
                                                 call.writeI32(2, "afterUSN", afterUSN);
                                                 call.writeI32(3, "maxEntries", maxEntries);
                                                 call.writeBool(4, "fullSyncOnly", fullSyncOnly);
                                             });
}

std::vector<EDAMNotebook> EDAMNoteStoreClient::listNotebooks(const Token &authenticationToken)
{
    return ThriftCall::invoke<std::vector<EDAMNotebook>>(
        *m_in, *m_out, "listNotebooks", Reads, UserOrSystem,
        [&](ThriftCall &call) { call.writeString(1, "authenticationToken", authenticationToken); });
}

EDAMNotebook EDAMNoteStoreClient::getDefaultNotebook(const Token &authenticationToken)
{
    return ThriftCall::invoke<EDAMNotebook>(
        *m_in, *m_out, "getDefaultNotebook", Reads, UserOrSystem,
        [&](ThriftCall &call) { call.writeString(1, "authenticationToken", authenticationToken); });
}

EDAMNotebook EDAMNoteStoreClient::createNotebook(const Token &authenticationToken,
                                                 const std::optional<EDAMNotebook> &notebook)
{
    return ThriftCall::invoke<EDAMNotebook>(*m_in, *m_out, "createNotebook", Changes, UserOrSystem,
                                            [&](ThriftCall &call) {
                                                call.writeString(1, "authenticationToken", authenticationToken);
                                                call.writeStruct(2, "notebook", notebook);
                                            });
}

int32_t EDAMNoteStoreClient::updateNotebook(const Token &authenticationToken,
                                            const std::optional<EDAMNotebook> &notebook)
{
    return ThriftCall::invoke<int32_t>(*m_in, *m_out, "updateNotebook", Changes, UserSystemOrNotFound,
                                       [&](ThriftCall &call) {
                                           call.writeString(1, "authenticationToken", authenticationToken);
                                           call.writeStruct(2, "notebook", notebook);
                                       });
}

int32_t EDAMNoteStoreClient::expungeNotebook(const Token &authenticationToken,
                                             const std::optional<std::string> &guid)
{
    return ThriftCall::invoke<int32_t>(*m_in, *m_out, "expungeNotebook", Changes, UserSystemOrNotFound,
                                       [&](ThriftCall &call) {
                                           call.writeString(1, "authenticationToken", authenticationToken);
                                           call.writeString(2, "guid", guid);
                                       });
}

std::vector<EDAMTag> EDAMNoteStoreClient::listTags(const Token &authenticationToken)
{
    return ThriftCall::invoke<std::vector<EDAMTag>>(
        *m_in, *m_out, "listTags", Reads, UserOrSystem,
        [&](ThriftCall &call) { call.writeString(1, "authenticationToken", authenticationToken); });
}

EDAMTag EDAMNoteStoreClient::createTag(const Token &authenticationToken, const std::optional<EDAMTag> &tag)
{
    return ThriftCall::invoke<EDAMTag>(*m_in, *m_out, "createTag", Changes, UserSystemOrNotFound,
                                       [&](ThriftCall &call) {
                                           call.writeString(1, "authenticationToken", authenticationToken);
                                           call.writeStruct(2, "tag", tag);
                                       });
}

int32_t EDAMNoteStoreClient::updateTag(const Token &authenticationToken, const std::optional<EDAMTag> &tag)
{
    return ThriftCall::invoke<int32_t>(*m_in, *m_out, "updateTag", Changes, UserSystemOrNotFound,
                                       [&](ThriftCall &call) {
                                           call.writeString(1, "authenticationToken", authenticationToken);
                                           call.writeStruct(2, "tag", tag);
                                       });
}

int32_t EDAMNoteStoreClient::expungeTag(const Token &authenticationToken, const std::optional<std::string> &guid)
{
    return ThriftCall::invoke<int32_t>(*m_in, *m_out, "expungeTag", Changes, UserSystemOrNotFound,
                                       [&](ThriftCall &call) {
                                           call.writeString(1, "authenticationToken", authenticationToken);
                                           call.writeString(2, "guid", guid);
                                       });
}

std::string EDAMNoteStoreClient::getNoteContent(const Token &authenticationToken,
                                                const std::optional<std::string> &guid)
{
    return ThriftCall::invoke<std::string>(*m_in, *m_out, "getNoteContent", Reads, UserSystemOrNotFound,
                                           [&](ThriftCall &call) {
                                               call.writeString(1, "authenticationToken", authenticationToken);
                                               call.writeString(2, "guid", guid);
                                           });
}

EDAMNote EDAMNoteStoreClient::createNote(const Token &authenticationToken, const std::optional<EDAMNote> &note)
{
    return ThriftCall::invoke<EDAMNote>(*m_in, *m_out, "createNote", Changes, UserSystemOrNotFound,
                                        [&](ThriftCall &call) {
                                            call.writeString(1, "authenticationToken", authenticationToken);
                                            call.writeStruct(2, "note", note);
                                        });
}

EDAMNote EDAMNoteStoreClient::updateNote(const Token &authenticationToken, const std::optional<EDAMNote> &note)
{
    return ThriftCall::invoke<EDAMNote>(*m_in, *m_out, "updateNote", Changes, UserSystemOrNotFound,
                                        [&](ThriftCall &call) {
                                            call.writeString(1, "authenticationToken", authenticationToken);
                                            call.writeStruct(2, "note", note);
                                        });
}

int32_t EDAMNoteStoreClient::expungeNote(const Token &authenticationToken, const std::optional<std::string> &guid)
{
    return ThriftCall::invoke<int32_t>(*m_in, *m_out, "expungeNote", Changes, UserSystemOrNotFound,
                                       [&](ThriftCall &call) {
                                           call.writeString(1, "authenticationToken", authenticationToken);
                                           call.writeString(2, "guid", guid);
                                       });
}
