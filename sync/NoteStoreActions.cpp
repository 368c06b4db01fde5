#include "sync/NoteStoreActions.h"

#include "core/ErrorPane.h"
#include "core/Localized.h"
#include "core/Log.h"
#include "service/EDAMNotFoundException.h"
#include "service/EDAMNoteStoreClient.h"
#include "service/EDAMUserException.h"
#include "service/ServiceConfiguration.h"
#include "service/TBinaryProtocol.h"
#include "service/THTTPClient.h"

#include <QUrl>

namespace {

constexpr int32_t DataConflict = 10;

std::optional<std::string> wire(const QString &guid)
{
    return guid.toStdString();
}

} // namespace

NoteStoreActions::NoteStoreActions(std::optional<EDAMAuthenticationResult> auth, Form form)
    : m_form(form)
{
    setAuth(std::move(auth));
}

void NoteStoreActions::setAuth(std::optional<EDAMAuthenticationResult> auth)
{
    m_auth = std::move(auth);
    if (m_auth && m_auth->__isset.authenticationToken)
        m_secrets.add(m_auth->authenticationToken);
}

std::optional<std::string> NoteStoreActions::token() const
{
    if (!m_auth || !m_auth->__isset.authenticationToken)
        return std::nullopt;
    return m_auth->authenticationToken;
}

template <typename Result>
Result NoteStoreActions::onShard(Result notAuthenticated, const std::function<Result(EDAMNoteStoreClient &)> &call) const
{
    if (!m_auth)
        return notAuthenticated;
    try {
        // A client per call: the transport keeps the connection open for the next one anyway.
        const QString shardId = QString::fromStdString(m_auth->user.shardId);
        auto transport = std::make_shared<THTTPClient>(QUrl(ServiceConfiguration::noteStoreUrl(shardId)));
        EDAMNoteStoreClient store(std::make_shared<TBinaryProtocol>(transport));
        return call(store);
    } catch (...) {
        m_secrets.rethrowRedacted();
    }
}

template <typename Result>
Result NoteStoreActions::refused(Result failure, const Refusal &refusal, const std::function<Result()> &call) const
{
    m_foundNothing = false;
    try {
        return call();
    } catch (const EDAMUserException &e) {
        report(e, refusal);
        return failure;
    } catch (const EDAMNotFoundException &) {
        if (!refusal.notFoundIsFailure)
            throw;
        m_foundNothing = true;
        return failure;
    }
}

template <typename Result>
Result NoteStoreActions::attempt(Result failure, const Refusal &refusal,
                                 const std::function<Result(EDAMNoteStoreClient &)> &call) const
{
    return onShard<Result>(failure, [&](EDAMNoteStoreClient &store) {
        return refused<Result>(failure, refusal, [&] { return Result(call(store)); });
    });
}

void NoteStoreActions::report(const EDAMUserException &refusal, const Refusal &how) const
{
    ErrorPane(Localized::string(QStringLiteral("UPDATE_ERROR"))).showErrorPane();
    const QString description = m_secrets.redact(refusal.description());
    if (m_form != Form::Run || !how.runFormat) {
        Log::line(QStringLiteral("%@"), {description});
        return;
    }
    Log::line(QString::fromLatin1(how.runFormat), {description});
    if (how.title)
        Log::line(QStringLiteral("%@"), {m_secrets.redact(QString::fromStdString(*how.title))});
}

void NoteStoreActions::logFailure(const std::exception &failure) const
{
    // Ours describe themselves in what(): the exception's name and its fields or reason.
    Log::line(QStringLiteral("%@"), {m_secrets.redact(QString::fromUtf8(failure.what()))});
}

template <typename Object>
std::optional<Object> NoteStoreActions::createOrJoin(const Object &object, const char *nameParameter,
                                                     const std::function<Object(EDAMNoteStoreClient &)> &create,
                                                     const std::function<std::vector<Object>(EDAMNoteStoreClient &)> &list)
{
    using Result = std::optional<Object>;
    return onShard<Result>(std::nullopt, [&](EDAMNoteStoreClient &store) -> Result {
        bool nameTaken = false;
        const Result created = refused<Result>(std::nullopt, {.notFoundIsFailure = false}, [&]() -> Result {
            try {
                return create(store);
            } catch (const EDAMUserException &e) {
                if (e.errorCode != DataConflict || e.parameter != nameParameter)
                    throw;
                nameTaken = true;
                return std::nullopt;
            }
        });
        if (!nameTaken)
            return created;
        // Joined to the service's object of that name; the list call's own failure is not a
        // refusal of the create and goes to the caller.
        for (const Object &existing : list(store)) {
            if (existing.name == object.name)
                return existing;
        }
        return std::nullopt;
    });
}

std::optional<QString> NoteStoreActions::getDefaultNotebook()
{
    return onShard<std::optional<QString>>(std::nullopt, [&](EDAMNoteStoreClient &store) {
        return std::optional(QString::fromStdString(store.getDefaultNotebook(token()).guid));
    });
}

std::optional<EDAMSyncChunk> NoteStoreActions::getSyncChunck(int32_t afterUSN, int32_t maxEntries, bool fullSyncOnly)
{
    return onShard<std::optional<EDAMSyncChunk>>(std::nullopt, [&](EDAMNoteStoreClient &store) {
        return std::optional(store.getSyncChunk(token(), afterUSN, maxEntries, fullSyncOnly));
    });
}

std::optional<QString> NoteStoreActions::getNoteContent(const QString &guid)
{
    return onShard<std::optional<QString>>(std::nullopt, [&](EDAMNoteStoreClient &store) -> std::optional<QString> {
        try {
            return QString::fromStdString(store.getNoteContent(token(), wire(guid)));
        } catch (const std::exception &e) {
            logFailure(e);
            return std::nullopt;
        }
    });
}

std::optional<QString> NoteStoreActions::contentForUpdate(const QString &guid)
{
    return onShard<std::optional<QString>>(std::nullopt, [&](EDAMNoteStoreClient &store) -> std::optional<QString> {
        try {
            return QString::fromStdString(store.getNoteContent(token(), wire(guid)));
        } catch (const EDAMUserException &e) {
            logFailure(e);
        } catch (const EDAMNotFoundException &e) {
            logFailure(e);
        }
        return std::nullopt;
    });
}

std::optional<EDAMNotebook> NoteStoreActions::createNotebook(const EDAMNotebook &notebook)
{
    return createOrJoin<EDAMNotebook>(
        notebook, "Notebook.name", [&](EDAMNoteStoreClient &store) { return store.createNotebook(token(), notebook); },
        [&](EDAMNoteStoreClient &store) { return store.listNotebooks(token()); });
}

std::optional<EDAMTag> NoteStoreActions::createTag(const EDAMTag &tag)
{
    return createOrJoin<EDAMTag>(
        tag, "Tag.name", [&](EDAMNoteStoreClient &store) { return store.createTag(token(), tag); },
        [&](EDAMNoteStoreClient &store) { return store.listTags(token()); });
}

std::optional<EDAMNote> NoteStoreActions::createNote(const EDAMNote &note)
{
    const Refusal refusal{.runFormat = "%@ (create note)", .title = note.title, .notFoundIsFailure = false};
    return attempt<std::optional<EDAMNote>>(std::nullopt, refusal,
                                            [&](EDAMNoteStoreClient &store) { return store.createNote(token(), note); });
}

std::optional<EDAMNote> NoteStoreActions::updateNote(const EDAMNote &note)
{
    const Refusal refusal{.runFormat = "%@ (update note)", .title = note.title};
    return attempt<std::optional<EDAMNote>>(std::nullopt, refusal,
                                            [&](EDAMNoteStoreClient &store) { return store.updateNote(token(), note); });
}

int32_t NoteStoreActions::updateNotebook(const EDAMNotebook &notebook)
{
    return attempt<int32_t>(-1, {}, [&](EDAMNoteStoreClient &store) { return store.updateNotebook(token(), notebook); });
}

int32_t NoteStoreActions::deleteNotebook(const QString &guid)
{
    return attempt<int32_t>(-1, {}, [&](EDAMNoteStoreClient &store) { return store.expungeNotebook(token(), wire(guid)); });
}

int32_t NoteStoreActions::updateTag(const EDAMTag &tag)
{
    return attempt<int32_t>(-1, {}, [&](EDAMNoteStoreClient &store) { return store.updateTag(token(), tag); });
}

int32_t NoteStoreActions::deleteTag(const QString &guid)
{
    return attempt<int32_t>(-1, {}, [&](EDAMNoteStoreClient &store) { return store.expungeTag(token(), wire(guid)); });
}

int32_t NoteStoreActions::deleteNote(const QString &guid)
{
    return attempt<int32_t>(-1, {.runFormat = "%@ (delete note)"},
                            [&](EDAMNoteStoreClient &store) { return store.expungeNote(token(), wire(guid)); });
}
