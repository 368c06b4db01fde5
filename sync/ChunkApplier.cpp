#include "sync/ChunkApplier.h"

#include "content/CompletedContent.h"
#include "content/DueDateContent.h"
#include "content/TaskContent.h"
#include "core/Log.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "core/store/SyncWriteScope.h"
#include "sync/EvernoteSync.h"
#include "sync/NotebookRetirement.h"
#include "sync/SyncSession.h"

#include <algorithm>
#include <functional>

namespace {
// Entries applied in one hop: a batch stays well under a frame in a store of 50,000 tasks.
constexpr size_t HopBatch = 100;
// Notes applied between two saves.
constexpr size_t SaveEvery = 500;

QString text(const std::string &wire)
{
    return QString::fromStdString(wire);
}

QVariant optionalText(bool isSet, const std::string &wire)
{
    return isSet ? QVariant(text(wire)) : QVariant();
}

// Calls `batch(begin, end)` over [0, count) in slices of HopBatch.
void inBatches(size_t count, const std::function<void(size_t, size_t)> &batch)
{
    for (size_t begin = 0; begin < count; begin += HopBatch)
        batch(begin, std::min(count, begin + HopBatch));
}

bool sameMembers(QList<MyTag *> a, QList<MyTag *> b)
{
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

// The fields the content carries: the due date (none clears it), the completion, the notes
// text (an empty one leaves the task's as it is: only its markers' absence says nothing).
struct ContentFields
{
    explicit ContentFields(const QString &content)
        : dueDate(DueDateContent::dueDate(content).value_or(QDateTime()))
        , completed(CompletedContent::completed(content))
        , notesText(TaskContent::taskc(content).value_or(QString()))
    {
    }
    QDateTime dueDate;
    bool completed;
    QString notesText;
};
} // namespace

ChunkApplier::ChunkApplier(SyncSession &session, Kind kind)
    : m_session(session)
    , m_kind(kind)
{
}

bool ChunkApplier::serviceWins(Kind kind, const EDAMNote &note, qint64 taskUpdated)
{
    if (kind == First)
        return note.updated > taskUpdated;
    const bool active = !note.__isset.active || note.active;
    return note.updated >= taskUpdated || !active;
}

void ChunkApplier::applyExpunged(const SyncChunks &chunks)
{
    const auto expunge = [&](const std::vector<std::string> &guids, GuidIndex &index) {
        inBatches(guids.size(), [&](size_t begin, size_t end) {
            m_session.hop([&] {
                SyncWriteScope scope(m_session.moc());
                for (size_t i = begin; i < end; ++i) {
                    ManagedObject *object = index.find(text(guids[i]));
                    if (!object)
                        continue;
                    if (auto *notebook = dynamic_cast<MyNotebook *>(object))
                        NotebookRetirement::retire(scope, notebook);
                    else
                        scope.deleteObject(object);
                    m_session.forgetUserHistory();
                }
            });
        });
    };
    if (chunks.hasExpunged())
        m_session.buildIndexes();
    expunge(chunks.expungedTags, m_session.tagIndex());
    expunge(chunks.expungedNotes, m_session.noteIndex());
    expunge(chunks.expungedNotebooks, m_session.notebookIndex());
    m_session.mark().expungesPending(false);
}

void ChunkApplier::applyNotebooks(const SyncChunks &chunks)
{
    if (!chunks.notebooks.empty())
        m_session.buildIndexes();
    inBatches(chunks.notebooks.size(), [&](size_t begin, size_t end) {
        m_session.hop([&] {
            SyncWriteScope scope(m_session.moc());
            for (size_t i = begin; i < end; ++i) {
                const EDAMNotebook &notebook = chunks.notebooks[i];
                const QString guid = text(notebook.guid);
                const SyncWriteScope::KeyValues serviceFields = {
                    {QStringLiteral("name"), text(notebook.name)},
                    {QStringLiteral("serviceUpdated"), qint64(notebook.serviceUpdated)},
                    {QStringLiteral("updateSequenceNum"), notebook.updateSequenceNum}};
                if (MyNotebook *local = m_session.notebookWithGuid(guid)) {
                    if (m_kind == Incremental && overwrites(*local, notebook.updateSequenceNum)) {
                        scope.write(local, serviceFields);
                    }
                } else {
                    auto *inserted = scope.insert<MyNotebook>();
                    SyncWriteScope::KeyValues fields = serviceFields;
                    fields.emplace_back(QStringLiteral("guid"), guid);
                    fields.emplace_back(QStringLiteral("serviceCreated"), qint64(notebook.serviceCreated));
                    fields.emplace_back(QStringLiteral("needUpdate"), false);
                    scope.write(inserted, fields);
                    m_session.notebookIndex().add(guid, inserted);
                }
                m_session.mark().applied(notebook.updateSequenceNum);
            }
            m_session.forgetUserHistory();
        });
    });
}

void ChunkApplier::applyTags(const SyncChunks &chunks)
{
    if (!chunks.tags.empty())
        m_session.buildIndexes();
    inBatches(chunks.tags.size(), [&](size_t begin, size_t end) {
        m_session.hop([&] {
            SyncWriteScope scope(m_session.moc());
            for (size_t i = begin; i < end; ++i) {
                const EDAMTag &tag = chunks.tags[i];
                const QString guid = text(tag.guid);
                const SyncWriteScope::KeyValues serviceFields = {
                    {QStringLiteral("name"), text(tag.name)},
                    {QStringLiteral("parentGuid"), optionalText(tag.__isset.parentGuid, tag.parentGuid)},
                    {QStringLiteral("updateSequenceNum"), tag.updateSequenceNum}};
                if (auto *local = static_cast<MyTag *>(m_session.tagIndex().find(guid))) {
                    if (m_kind == Incremental && overwrites(*local, tag.updateSequenceNum)) {
                        scope.write(local, serviceFields);
                    }
                } else {
                    auto *inserted = scope.insert<MyTag>();
                    SyncWriteScope::KeyValues fields = serviceFields;
                    fields.emplace_back(QStringLiteral("guid"), guid);
                    fields.emplace_back(QStringLiteral("needUpdate"), false);
                    scope.write(inserted, fields);
                    m_session.tagIndex().add(guid, inserted);
                }
                m_session.mark().applied(tag.updateSequenceNum);
            }
            m_session.forgetUserHistory();
        });
    });
}

bool ChunkApplier::overwrites(const ManagedObject &local, int32_t usn) const
{
    // A local change not sent yet (refused, or made while the run was sending) is newer than
    // the chunk, fetched before it: it goes out with the next run. An entry no newer than what
    // this store already had (fetched again after a run that failed) is a stale version of it,
    // which would take back a rename this run has just sent.
    if (local.value(QStringLiteral("needUpdate")).toBool())
        return false;
    const int32_t known = m_session.knownUsn(local.value(QStringLiteral("guid")).toString(),
                                             local.value(QStringLiteral("updateSequenceNum")).toInt());
    return usn > known;
}

ChunkApplier::Action ChunkApplier::decide(const EDAMNote &note)
{
    if (auto *task = static_cast<MyNote *>(m_session.noteIndex().find(text(note.guid))))
        return serviceWins(m_kind, note, task->updated()) ? Action::Apply : Action::Keep;
    if (m_session.notebookWithGuid(text(note.notebookGuid)))
        return Action::Create;
    Log::line(QStringLiteral("No se creo nota porque no existe su libreta"));
    return Action::Skip;
}

void ChunkApplier::applyNotes(const SyncChunks &chunks)
{
    if (!chunks.notes.empty())
        m_session.buildIndexes();
    inBatches(chunks.notes.size(), [&](size_t begin, size_t end) {
        std::vector<Action> actions = m_session.hop([&] {
            std::vector<Action> decided;
            for (size_t i = begin; i < end; ++i)
                decided.push_back(decide(chunks.notes[i]));
            return decided;
        });
        for (size_t i = begin; i < end; ++i) {
            const EDAMNote &note = chunks.notes[i];
            m_session.progress(SyncProgress::Receiving, int(i + 1), int(chunks.notes.size()));
            const Action action = actions[i - begin];
            if (action == Action::Keep || action == Action::Skip) {
                m_session.mark().applied(note.updateSequenceNum);
                continue;
            }
            // A refusal answers none, and the note waits for the next run: applied without its
            // content it would clear the task's due date and completion because a request failed.
            // What would end the run (the service out of reach, its rate limit) ends it here.
            const std::optional<QString> content = m_session.service().contentForUpdate(text(note.guid));
            if (!content)
                continue;
            m_session.hop([&] { write(note, *content); });
        }
        // Saved as it goes: one save of thousands of new tasks at the end would hold the main
        // thread for longer than a frame.
        if (end % SaveEvery == 0)
            m_session.saveData(false);
    });
}

void ChunkApplier::write(const EDAMNote &note, const QString &content)
{
    const Action action = decide(note);
    if (action == Action::Apply || action == Action::Create) {
        SyncWriteScope scope(m_session.moc());
        if (action == Action::Apply)
            apply(scope, static_cast<MyNote *>(m_session.noteIndex().find(text(note.guid))), note, content);
        else
            create(scope, note, content);
        m_session.forgetUserHistory();
    }
    m_session.mark().applied(note.updateSequenceNum);
}

void ChunkApplier::apply(SyncWriteScope &scope, MyNote *task, const EDAMNote &note, const QString &content)
{
    SyncWriteScope::KeyValues fields = {{QStringLiteral("title"), text(note.title)},
                                        {QStringLiteral("updated"), qint64(note.updated)},
                                        {QStringLiteral("updateSequenceNum"), note.updateSequenceNum},
                                        {QStringLiteral("active"), !note.__isset.active || note.active}};
    // Moved by a raw write: the task keeps its place number.
    MyNotebook *notebook = m_session.notebookWithGuid(text(note.notebookGuid));
    if (notebook && notebook != task->notebook())
        fields.emplace_back(QStringLiteral("notebook"), SyncWriteScope::toOne(notebook));
    const ContentFields carried(content);
    if (carried.dueDate != task->dueDated())
        fields.emplace_back(QStringLiteral("dueDated"), carried.dueDate.isValid() ? QVariant(carried.dueDate) : QVariant());
    fields.emplace_back(QStringLiteral("completed"), carried.completed);
    if (!carried.notesText.isEmpty() && carried.notesText != task->content())
        fields.emplace_back(QStringLiteral("content"), carried.notesText);
    const QList<MyTag *> tags = m_session.tagsForGuidsArray(note.tagGuids);
    if (!sameMembers(tags, task->tags()))
        fields.emplace_back(QStringLiteral("tags"), SyncWriteScope::toMany(tags));
    // An incremental run brings an expunged-here task back when the service has a newer one.
    if (m_kind == Incremental)
        fields.emplace_back(QStringLiteral("toExpunged"), false);
    // The task is the service's version now: any older local change it had lost to it. Only
    // a notes text the note does not carry is kept here, and must then reach the service too,
    // or the two would differ for good.
    const bool keptNotesText = carried.notesText.isEmpty() && !task->content().isEmpty();
    fields.emplace_back(QStringLiteral("needUpdate"), keptNotesText);
    m_keptLocalNotes = m_keptLocalNotes || keptNotesText;
    scope.write(task, fields);
}

void ChunkApplier::create(SyncWriteScope &scope, const EDAMNote &note, const QString &content)
{
    if (m_kind == Incremental)
        Log::line(QStringLiteral("%@"), {content});
    auto *task = scope.insert<MyNote>();
    const QString guid = text(note.guid);
    SyncWriteScope::KeyValues fields = {{QStringLiteral("guid"), guid},
                                        {QStringLiteral("title"), text(note.title)},
                                        {QStringLiteral("updated"), qint64(note.updated)},
                                        {QStringLiteral("created"), qint64(note.created)},
                                        {QStringLiteral("updateSequenceNum"), note.updateSequenceNum},
                                        {QStringLiteral("needUpdate"), false},
                                        {QStringLiteral("active"), !note.__isset.active || note.active},
                                        {QStringLiteral("notebook"), SyncWriteScope::toOne(m_session.notebookWithGuid(text(note.notebookGuid)))}};
    const ContentFields carried(content);
    if (carried.dueDate.isValid())
        fields.emplace_back(QStringLiteral("dueDated"), carried.dueDate);
    fields.emplace_back(QStringLiteral("completed"), carried.completed);
    if (!carried.notesText.isEmpty())
        fields.emplace_back(QStringLiteral("content"), carried.notesText);
    fields.emplace_back(QStringLiteral("tags"), SyncWriteScope::toMany(m_session.tagsForGuidsArray(note.tagGuids)));
    scope.write(task, fields);
    m_session.noteIndex().add(guid, task);
}
