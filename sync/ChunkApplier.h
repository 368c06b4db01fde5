#pragma once

#include "service/EDAMTypes.h"

#include <QString>

#include <optional>

class ManagedObject;
class MyNote;
class SyncChunks;
class SyncSession;
class SyncWriteScope;

// The receiving half of a run: what the fetched chunks hold goes into the store, in the
// service's order, notebooks first, then tags, then notes. Notebooks and tags are written in
// short batches; a note's content is fetched with no hop held, and the task is then decided on
// afresh (the user may have edited or removed it meanwhile). Each entry tells the run's mark
// once it is in the store; a note whose content the service would not give is left out, and
// holds the mark below it so that the next run brings it again.
class ChunkApplier
{
public:
    enum Kind {
        First,       // objects already here are left alone; a note only when it is newer
        Incremental, // the service's notebooks and tags overwrite, notes by the server-newer rule
    };

    ChunkApplier(SyncSession &session, Kind kind);

    // Which side wins for a task that exists on both: true when the service's note is to be
    // applied. A note trashed on the service always reaches the task in an incremental run.
    static bool serviceWins(Kind kind, const EDAMNote &note, qint64 taskUpdated);

    void applyExpunged(const SyncChunks &chunks);
    void applyNotebooks(const SyncChunks &chunks);
    void applyTags(const SyncChunks &chunks);
    void applyNotes(const SyncChunks &chunks);
    // Some task kept a notes text its note lacks (an empty one on the service leaves the task's
    // as it is) and is marked to send it back, so that both sides end with it.
    bool keptLocalNotes() const { return m_keptLocalNotes; }

private:
    enum class Action { Keep, Apply, Create, Skip };
    // In a hop: whether the service's version of a notebook or tag replaces the local one.
    bool overwrites(const ManagedObject &local, int32_t usn) const;
    // In a hop: what to do with the note now. Logs a note left out for want of its notebook.
    Action decide(const EDAMNote &note);
    // In a hop: the note, with its content, into the task it names or a new one.
    void write(const EDAMNote &note, const QString &content);
    void apply(SyncWriteScope &scope, MyNote *task, const EDAMNote &note, const QString &content);
    void create(SyncWriteScope &scope, const EDAMNote &note, const QString &content);

    SyncSession &m_session;
    Kind m_kind;
    bool m_keptLocalNotes = false;
};
