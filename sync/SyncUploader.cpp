#include "sync/SyncUploader.h"

#include "content/TypesConversor.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "core/store/SyncWriteScope.h"
#include "sync/ChunkApplier.h"
#include "sync/EvernoteSync.h"
#include "sync/NotebookRetirement.h"
#include "sync/SyncSession.h"

#include <algorithm>

namespace {
const QString NewObjects = QStringLiteral("(needUpdate == 1) && (guid == \"\")");
const QString ChangedObjects = QStringLiteral("(needUpdate == 1) && (guid != \"\")");

QString text(const std::string &wire)
{
    return QString::fromStdString(wire);
}

int32_t usnOf(const EDAMNotebook &notebook) { return notebook.updateSequenceNum; }
int32_t usnOf(const EDAMTag &tag) { return tag.updateSequenceNum; }
int32_t usnOf(const EDAMNote &note) { return note.updateSequenceNum; }
int32_t usnOf(int32_t usn) { return usn; }

std::optional<int32_t> accepted(int32_t usn)
{
    return usn == -1 ? std::nullopt : std::optional<int32_t>(usn);
}

// The keys every write-back sets, and those it sets only when the user left the object alone.
void writeBack(SyncWriteScope &scope, ManagedObject *object, SyncWriteScope::KeyValues always,
               const SyncWriteScope::KeyValues &whenUnchanged, bool unchanged)
{
    if (unchanged) {
        always.insert(always.end(), whenUnchanged.begin(), whenUnchanged.end());
        always.emplace_back(QStringLiteral("needUpdate"), false);
    }
    scope.write(object, always);
}

bool notebookKnown(const MyNote &task)
{
    const MyNotebook *notebook = task.notebook();
    return !notebook || !notebook->guid().isEmpty();
}

bool notebookExpunged(const MyNote &task, const SyncChunks &chunks)
{
    const MyNotebook *notebook = task.notebook();
    const std::vector<std::string> &expunged = chunks.expungedNotebooks;
    return notebook && std::find(expunged.begin(), expunged.end(), notebook->guid().toStdString()) != expunged.end();
}
} // namespace

SyncUploader::SyncUploader(SyncSession &session)
    : m_session(session)
{
}

bool SyncUploader::notebookOnService(const MyNote &task, const SyncChunks &chunks)
{
    if (!notebookKnown(task))
        return false;
    if (notebookExpunged(task, chunks)) {
        // Once the expunge is applied the task is in a notebook the service has.
        m_heldBack = true;
        return false;
    }
    return true;
}

template <typename Prepared, typename Sent>
void SyncUploader::sendEach(const char *entityName, const QString &predicate, const char *message,
                            const Stages<Prepared, Sent> &stages)
{
    const QList<ManagedObject *> objects =
        m_session.hop([&] { return m_session.fetchOrLog(entityName, predicate, message); });
    if (!objects.isEmpty())
        m_session.buildIndexes();
    for (qsizetype i = 0; i < objects.size(); ++i) {
        ManagedObject *object = objects[i];
        m_session.progress(SyncProgress::Sending, int(i + 1), int(objects.size()));
        struct Read
        {
            Prepared prepared;
            quint64 changeCount;
        };
        const std::optional<Read> read = m_session.hop([&]() -> std::optional<Read> {
            if (object->isDeleted())
                return std::nullopt;
            std::optional<Prepared> prepared = stages.prepare(object);
            if (!prepared)
                return std::nullopt;
            return Read{std::move(*prepared), object->changeCount()};
        });
        if (!read)
            continue;
        const std::optional<Sent> sent = stages.send(read->prepared);
        if (!sent)
            continue;
        const bool alive = m_session.hop([&] {
            if (object->isDeleted())
                return false;
            m_session.mark().sent(usnOf(*sent));
            SyncWriteScope scope(m_session.moc());
            stages.writeBack(scope, object, *sent, object->changeCount() == read->changeCount);
            m_session.forgetUserHistory();
            return true;
        });
        if (alive)
            continue;
        // The user removed it while it was on the way. A new one is taken back on the service,
        // or the next chunk would bring back what the user removed; should that fail, the note
        // is not counted and comes back rather than being known to one side only.
        const int32_t takenBack = stages.takeBack ? stages.takeBack(*sent) : -1;
        m_session.hop([&] {
            m_session.mark().sent(usnOf(*sent), takenBack != -1);
            if (takenBack != -1)
                m_session.mark().sent(takenBack);
        });
    }
}

void SyncUploader::rememberUsn(ManagedObject *object)
{
    m_session.rememberUsnBeforeSend(object->value(QStringLiteral("guid")).toString(),
                                    object->value(QStringLiteral("updateSequenceNum")).toInt());
}

void SyncUploader::sendDeleted(const char *entityName, const char *message, const std::vector<std::string> &expunged,
                               const std::function<int32_t(const QString &)> &remove)
{
    const QList<ManagedObject *> objects = m_session.hop([&] { return m_session.fetchOrLog(entityName, QStringLiteral("deleted == 1"), message); });
    for (ManagedObject *object : objects) {
        // One never sent is still new, and goes out with the new ones.
        const QString guid = m_session.hop([&] { return object->isDeleted() ? QString() : object->value(QStringLiteral("guid")).toString(); });
        if (guid.isEmpty())
            continue;
        const int32_t usn = remove(guid);
        const bool gone = usn != -1 || m_session.service().lastCallFoundNothing()
                          || std::find(expunged.begin(), expunged.end(), guid.toStdString()) != expunged.end();
        m_session.hop([&] {
            if (usn != -1)
                m_session.mark().sent(usn);
            if (object->isDeleted())
                return;
            SyncWriteScope scope(m_session.moc());
            if (!gone)
                scope.write(object, {{QStringLiteral("deleted"), false}});
            else if (auto *notebook = dynamic_cast<MyNotebook *>(object))
                NotebookRetirement::retire(scope, notebook);
            else
                scope.deleteObject(object);
            m_session.forgetUserHistory();
        });
    }
}

void SyncUploader::sendDeletedNotebooks(const SyncChunks &chunks)
{
    sendDeleted(MyNotebook::entityName, "Error at load deleted notebooks", chunks.expungedNotebooks,
                [&](const QString &guid) { return m_session.service().deleteNotebook(guid); });
}

void SyncUploader::sendDeletedTags(const SyncChunks &chunks)
{
    sendDeleted(MyTag::entityName, "Error at load deleted tags", chunks.expungedTags,
                [&](const QString &guid) { return m_session.service().deleteTag(guid); });
}

void SyncUploader::sendNewNotebooks()
{
    sendEach<EDAMNotebook, EDAMNotebook>(
        MyNotebook::entityName, NewObjects, "Error at load new notebooks",
        {[](ManagedObject *o) { return std::optional(TypesConversor::notebook(*static_cast<MyNotebook *>(o))); },
         [&](const EDAMNotebook &notebook) { return m_session.service().createNotebook(notebook); },
         [&](SyncWriteScope &scope, ManagedObject *o, const EDAMNotebook &created, bool unchanged) {
             writeBack(scope, o, {{QStringLiteral("guid"), text(created.guid)}, {QStringLiteral("updateSequenceNum"), created.updateSequenceNum}},
                       {{QStringLiteral("serviceUpdated"), qint64(created.serviceUpdated)}}, unchanged);
             m_session.notebookIndex().add(text(created.guid), o);
         },
         [&](const EDAMNotebook &created) { return m_session.service().deleteNotebook(text(created.guid)); }});
}

void SyncUploader::sendChangedNotebooks()
{
    sendEach<EDAMNotebook, int32_t>(
        MyNotebook::entityName, ChangedObjects, "Error at load updated notebooks",
        {[](ManagedObject *o) -> std::optional<EDAMNotebook> {
             const auto *notebook = static_cast<MyNotebook *>(o);
             // A deleted one that could not leave yet is the deletion's business, not an update.
             if (notebook->deleted())
                 return std::nullopt;
             return TypesConversor::notebookWithGuid(*notebook);
         },
         [&](const EDAMNotebook &notebook) { return accepted(m_session.service().updateNotebook(notebook)); },
         [&](SyncWriteScope &scope, ManagedObject *o, int32_t usn, bool unchanged) {
             rememberUsn(o);
             writeBack(scope, o, {{QStringLiteral("updateSequenceNum"), usn}}, {}, unchanged);
         }});
}

void SyncUploader::sendNewTags()
{
    sendEach<EDAMTag, EDAMTag>(
        MyTag::entityName, NewObjects, "Error at load new tags",
        {[](ManagedObject *o) { return std::optional(TypesConversor::tag(*static_cast<MyTag *>(o))); },
         [&](const EDAMTag &tag) { return m_session.service().createTag(tag); },
         [&](SyncWriteScope &scope, ManagedObject *o, const EDAMTag &created, bool unchanged) {
             writeBack(scope, o, {{QStringLiteral("guid"), text(created.guid)}, {QStringLiteral("updateSequenceNum"), created.updateSequenceNum}},
                       {}, unchanged);
             m_session.tagIndex().add(text(created.guid), o);
         },
         [&](const EDAMTag &created) { return m_session.service().deleteTag(text(created.guid)); }});
}

void SyncUploader::sendChangedTags()
{
    sendEach<EDAMTag, int32_t>(
        MyTag::entityName, ChangedObjects, "Error at load updated tags",
        {[](ManagedObject *o) -> std::optional<EDAMTag> {
             const auto *tag = static_cast<MyTag *>(o);
             if (tag->deleted())
                 return std::nullopt;
             return TypesConversor::tagWithGuid(*tag);
         },
         [&](const EDAMTag &tag) { return accepted(m_session.service().updateTag(tag)); },
         [&](SyncWriteScope &scope, ManagedObject *o, int32_t usn, bool unchanged) {
             rememberUsn(o);
             writeBack(scope, o, {{QStringLiteral("updateSequenceNum"), usn}}, {}, unchanged);
         }});
}

void SyncUploader::sendNewTasks(const SyncChunks &chunks)
{
    sendEach<EDAMNote, EDAMNote>(
        "MyNote", NewObjects, "Error at load new notes",
        {[&](ManagedObject *o) -> std::optional<EDAMNote> {
             const auto *task = static_cast<MyNote *>(o);
             if (!notebookOnService(*task, chunks))
                 return std::nullopt;
             return TypesConversor::note(*task);
         },
         [&](const EDAMNote &note) { return m_session.service().createNote(note); },
         [&](SyncWriteScope &scope, ManagedObject *o, const EDAMNote &created, bool unchanged) {
             writeBack(scope, o, {{QStringLiteral("guid"), text(created.guid)}, {QStringLiteral("updateSequenceNum"), created.updateSequenceNum}},
                       {{QStringLiteral("updated"), qint64(created.updated)}}, unchanged);
             m_session.noteIndex().add(text(created.guid), o);
         },
         [&](const EDAMNote &created) { return m_session.service().deleteNote(text(created.guid)); }});
}

void SyncUploader::sendChangedTasks(const SyncChunks &chunks)
{
    sendEach<TypesConversor::Task, EDAMNote>(
        "MyNote", ChangedObjects, "Error at load updated notes",
        {[&](ManagedObject *o) -> std::optional<TypesConversor::Task> {
             const auto *task = static_cast<MyNote *>(o);
             if (!notebookOnService(*task, chunks))
                 return std::nullopt;
             const EDAMNote *incoming = chunks.note(task->guid());
             if (incoming && ChunkApplier::serviceWins(ChunkApplier::Incremental, *incoming, task->updated()))
                 return std::nullopt;
             return TypesConversor::task(*task);
         },
         [&](const TypesConversor::Task &task) -> std::optional<EDAMNote> {
             // Without the note's content the update could neither keep what other clients
             // wrote in it nor take out a marker the task no longer has: the task waits, marked.
             EvernoteSync &service = m_session.service();
             const std::optional<QString> content = service.contentForUpdate(task.guid);
             if (!content)
                 return std::nullopt;
             return service.updateNote(TypesConversor::noteWithGuid(task, [&](const QString &) { return content; }));
         },
         [&](SyncWriteScope &scope, ManagedObject *o, const EDAMNote &updated, bool unchanged) {
             writeBack(scope, o, {{QStringLiteral("updateSequenceNum"), updated.updateSequenceNum}},
                       {{QStringLiteral("updated"), qint64(updated.updated)}}, unchanged);
         }});
}
