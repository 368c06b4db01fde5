#include "sync/SyncSession.h"

#include "core/Defaults.h"
#include "core/ErrorPresenter.h"
#include "core/Log.h"
#include "core/SettingsKeys.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "sync/EvernoteSync.h"

#include <algorithm>
#include <stdexcept>

namespace {
// The service gives at most this many entries a chunk.
constexpr int32_t ChunkEntries = 1000;
} // namespace

SyncSession::SyncSession(ManagedObjectContext &moc, EvernoteSync &service, int32_t storedMark)
    : m_moc(moc)
    , m_service(service)
    , m_mark(storedMark)
    , m_notebooks(moc, MyNotebook::entityName)
    , m_tags(moc, MyTag::entityName)
    , m_notes(moc, "MyNote")
{
    // Emitted on the main thread while the worker waits in a hop or talks to the service.
    m_resetConnection = QObject::connect(&moc, &ManagedObjectContext::contextReset, &moc,
                                         [replaced = m_storeReplaced] { replaced->store(true); }, Qt::DirectConnection);
}

SyncSession::~SyncSession()
{
    QObject::disconnect(m_resetConnection);
}

void SyncSession::buildIndexes()
{
    if (m_indexesBuilt)
        return;
    m_indexesBuilt = true;
    // A slice of a store of 50,000 tasks stays well under a frame.
    constexpr qsizetype Slice = 10'000;
    for (GuidIndex *index : {&m_notebooks, &m_tags, &m_notes}) {
        const QList<ManagedObject *> objects = hop([&] { return index->objects(); });
        for (qsizetype begin = 0; begin < objects.size(); begin += Slice)
            hop([&] { index->index(objects, begin, std::min(objects.size(), begin + Slice)); });
        index->finish();
    }
}

void SyncSession::checkStore() const
{
    if (m_storeReplaced->load())
        throw std::runtime_error("the store was replaced while synchronising");
    if (m_stop && m_stop->load())
        throw std::runtime_error("synchronisation stopped");
}

MyNotebook *SyncSession::notebookWithGuid(const QString &guid)
{
    return static_cast<MyNotebook *>(m_notebooks.find(guid));
}

QList<MyTag *> SyncSession::tagsForGuidsArray(const std::vector<std::string> &guids)
{
    QList<MyTag *> tags;
    for (const std::string &guid : guids) {
        auto *tag = static_cast<MyTag *>(m_tags.find(QString::fromStdString(guid)));
        if (tag && !tags.contains(tag))
            tags.push_back(tag);
    }
    return tags;
}

QList<ManagedObject *> SyncSession::fetchOrLog(const char *entityName, const QString &predicate,
                                               const char *message) const
{
    try {
        return m_moc.fetch(QString::fromLatin1(entityName), Predicate::withFormat(predicate));
    } catch (const std::exception &) {
        Log::line(QString::fromLatin1(message));
        return {};
    }
}

void SyncSession::forgetUserHistory() const
{
    UndoManager *undo = m_moc.undoManager();
    if (undo->canUndo() || undo->canRedo())
        undo->removeAllActions();
}

void SyncSession::saveData(bool logSaving)
{
    hop([&] {
        if (logSaving)
            Log::line(QStringLiteral("Saving data"));
        if (!m_moc.commitEditing()) {
            Log::line(QStringLiteral("%@:%s unable to commit editing before saving"),
                      {QStringLiteral("SyncSession"), QStringLiteral("saveData")});
        }
        AppError error;
        if (!m_moc.save(&error))
            ErrorPresenter::present(error);
    });
}

void SyncSession::storeDefaultNotebook()
{
    // A setting written is synced to disk at once, on the main thread: not again when the
    // account's default notebook is the one every run finds.
    if (std::optional<QString> guid = m_service.getDefaultNotebook()) {
        hop([&] {
            Defaults &defaults = Defaults::standardUserDefaults();
            if (defaults.stringForKey(Key::defaultNotebook) != *guid)
                defaults.setObject(Key::defaultNotebook, *guid);
        });
    }
}

SyncChunks SyncSession::fetchChunks(int32_t afterUSN, bool fullSyncOnly)
{
    SyncChunks chunks;
    int32_t after = afterUSN;
    for (;;) {
        std::optional<EDAMSyncChunk> chunk = m_service.getSyncChunck(after, ChunkEntries, fullSyncOnly);
        if (!chunk)
            throw std::runtime_error("the sync chunk was asked for without an authentication");
        chunks.append(*chunk);
        for (const EDAMNotebook &notebook : chunk->notebooks)
            m_mark.entry(notebook.updateSequenceNum);
        for (const EDAMTag &tag : chunk->tags)
            m_mark.entry(tag.updateSequenceNum);
        for (const EDAMNote &note : chunk->notes)
            m_mark.entry(note.updateSequenceNum);
        if (!chunk->__isset.chunkHighUSN) {
            // Nothing numbered after `after` is left: everything up to the count is taken in.
            if (chunk->__isset.updateCount)
                m_mark.fetched(chunk->updateCount);
            break;
        }
        m_mark.fetched(chunk->chunkHighUSN);
        // A service that does not move on would be asked forever.
        if (chunk->chunkHighUSN >= chunk->updateCount || chunk->chunkHighUSN <= after)
            break;
        after = chunk->chunkHighUSN;
    }
    m_mark.expungesPending(chunks.hasExpunged());
    return chunks;
}

void SyncSession::storeMark()
{
    const int32_t mark = m_mark.mark();
    if (mark == m_storedMark)
        return;
    hop([&] {
        // A run that took in nothing new finds its mark stored already; rewriting it would
        // sync the settings file to disk for nothing.
        Defaults &defaults = Defaults::standardUserDefaults();
        if (defaults.integerForKey(Key::chunkHighUSN) != mark)
            defaults.setInteger(Key::chunkHighUSN, mark);
    });
    m_storedMark = mark;
}
