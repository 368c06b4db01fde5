#pragma once

#include "core/store/ManagedObjectContext.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <utility>
#include <vector>

// How synchronisation writes into the store: one scope per hop to the main thread, and every
// insert, write and delete of the hop through it. For the life of the scope:
//
// - nothing is registered for undo: a user's Undo never takes back what a run wrote (a sent
//   task's guid, its cleared needUpdate), and a run's writes do not push the user's own edits
//   out of the undo history;
// - no setter logic runs: needUpdate and the time stamps change only where they are written.
//   The public setters and the context's own writes throw std::logic_error while a scope is
//   open, so a write of the run cannot slip past it;
// - the objects written are marked for the next save as usual, but their changeCount() stays;
// - write() announces every key it changes, on every object it touches: all objectWillChange
//   first, then the writes, then all objectChanged, so bound views refresh once.
//
// Everything is checked before anything is written or announced: an unknown key, a value of
// the wrong kind or a deleted object throws std::logic_error and leaves the store as it was.
class SyncWriteScope
{
public:
    using KeyValues = std::vector<std::pair<QString, QVariant>>;

    explicit SyncWriteScope(ManagedObjectContext &context);
    ~SyncWriteScope();
    SyncWriteScope(const SyncWriteScope &) = delete;
    SyncWriteScope &operator=(const SyncWriteScope &) = delete;

    ManagedObjectContext &context() const { return m_context; }

    // Attributes take their natural Qt type (QDateTime for dates, an invalid variant for none);
    // a to-one relationship takes toOne(object), a to-many one toMany(objects), which replaces
    // its members with those given.
    void write(ManagedObject *object, const KeyValues &values);
    static QVariant toOne(ManagedObject *object) { return QVariant::fromValue(object); }
    template<typename Objects>
    static QVariant toMany(const Objects &objects)
    {
        QList<ManagedObject *> members;
        for (auto *object : objects)
            members.push_back(object);
        return QVariant::fromValue(members);
    }

    // The entity's insert defaults run (a new task has needUpdate 1); write what the service
    // sent over them.
    ManagedObject *insertNewObject(const QString &entityName);
    template<typename T>
    T *insert()
    {
        return static_cast<T *>(insertNewObject(QString::fromLatin1(T::entityName)));
    }
    void deleteObject(ManagedObject *object);

private:
    ManagedObjectContext &m_context;
};
