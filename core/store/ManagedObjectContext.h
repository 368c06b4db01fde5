#pragma once

#include "core/AppError.h"
#include "core/store/FetchRequest.h"
#include "core/store/ManagedObject.h"
#include "core/store/ManagedObjectModel.h"
#include "core/store/UndoManager.h"

#include <QList>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class PersistentStoreCoordinator;

// The one store context: every object of the store, loaded at open into an identity map.
// Fetches and counts evaluate predicates in memory; a save writes only what changed, in one
// transaction, and a failed save keeps every change in memory, still unsaved. Every write is
// announced with objectWillChange(object, key) before and objectChanged(object, key) after, for
// each key it changes on each object it touches (both sides of a relationship). Writes made
// here are the user's: recorded for undo and counted by ManagedObject::changeCount().
// Synchronisation writes through a SyncWriteScope instead, which records and counts nothing.
//
// The context belongs to the main thread. Objects are never freed while the context lives
// (deleted ones included), so a pointer held by a view or an undo step stays valid.
class ManagedObjectContext : public QObject
{
    Q_OBJECT
public:
    ManagedObjectContext(std::shared_ptr<const ManagedObjectModel> model, PersistentStoreCoordinator *coordinator,
                         QObject *parent = nullptr);
    ~ManagedObjectContext() override;

    const ManagedObjectModel &model() const { return *m_model; }
    PersistentStoreCoordinator *persistentStoreCoordinator() const { return m_coordinator; }

    // Reads every object of the store. Returns false (with the reason) when the file cannot be read.
    bool loadAll(AppError *error);

    // Like every write below, these throw std::logic_error inside a SyncWriteScope, where only
    // the scope writes: a setter there would mark and count a run's write as the user's.
    ManagedObject *insertNewObject(const QString &entityName);
    template<typename T>
    T *insert()
    {
        return static_cast<T *>(insertNewObject(QString::fromLatin1(T::entityName)));
    }
    void deleteObject(ManagedObject *object);

    QList<ManagedObject *> executeFetchRequest(const FetchRequest &request) const;
    QList<ManagedObject *> fetch(const QString &entityName, const Predicate &predicate = {},
                                 const std::vector<SortDescriptor> &sortDescriptors = {}) const;
    int countForFetchRequest(const FetchRequest &request) const;
    int count(const QString &entityName, const Predicate &predicate = {}) const;

    // Raw writes: the value changes, the change is recorded for undo, counted and announced,
    // and no setter logic runs. Attributes take their natural Qt type (QDateTime for dates).
    void setValue(ManagedObject *object, const QString &key, const QVariant &value);
    void setAttribute(ManagedObject *object, int attribute, const QVariant &value);
    void setToOne(ManagedObject *object, int relationship, ManagedObject *target);
    void addToMany(ManagedObject *object, int relationship, ManagedObject *member);
    void removeFromMany(ManagedObject *object, int relationship, ManagedObject *member);

    bool hasChanges() const;
    bool save(AppError *error);
    // Forgets every object (after the store file was replaced); the objects stay allocated.
    void reset();

    UndoManager *undoManager() { return &m_undoManager; }

    // Bound widgets commit their pending edits through this hook before a save.
    void setCommitEditingHandler(std::function<bool()> handler) { m_commitEditing = std::move(handler); }
    bool commitEditing() { return m_commitEditing ? m_commitEditing() : true; }

signals:
    void objectWillChange(ManagedObject *object, const QString &key);
    void objectChanged(ManagedObject *object, const QString &key);
    // One object joined or left a to-many relationship of `owner` (either side of a pair):
    // lists over a relationship follow it without looking at every member.
    void membershipChanged(ManagedObject *owner, const QString &relationship, ManagedObject *member, bool joined);
    void objectInserted(ManagedObject *object);
    void objectDeleted(ManagedObject *object);
    void contextReset();
    void didSave();

private:
    friend class PersistentStoreCoordinator;
    friend class SyncWriteScope;

    // The keys one write changes, object by object, each once: what is announced around it.
    struct KeyChange
    {
        ManagedObject *object;
        QString key;
    };
    using KeyChanges = std::vector<KeyChange>;
    static void addChange(KeyChanges &changes, ManagedObject *object, const QString &key);
    void toOneChanges(ManagedObject *object, int relationship, ManagedObject *target, KeyChanges &changes) const;
    void membershipChanges(ManagedObject *object, int relationship, ManagedObject *member, KeyChanges &changes) const;
    void willChange(const KeyChanges &changes);
    void didChange(const KeyChanges &changes);

    // The writes themselves, unannounced: marks for the save, undo (unless disabled), the
    // inverse side.
    void applyAttribute(ManagedObject *object, int attribute, const QVariant &value);
    void applyToOne(ManagedObject *object, int relationship, ManagedObject *target);
    void applyMembership(ManagedObject *object, int relationship, ManagedObject *member, bool joined);

    void requireUserWrite() const;
    ManagedObject *createObject(const EntityDescription *entity, qint64 id);
    void markChanged(ManagedObject *object);
    void undelete(ManagedObject *object);
    void unlinkInverse(ManagedObject *object, const RelationshipDescription &r, ManagedObject *other);
    void linkInverse(ManagedObject *object, const RelationshipDescription &r, ManagedObject *other);
    // Calls visit for every live object matching both predicates of the request.
    template<typename Visit>
    void scan(const FetchRequest &request, Visit visit) const;

    std::shared_ptr<const ManagedObjectModel> m_model;
    PersistentStoreCoordinator *m_coordinator;
    std::vector<std::unique_ptr<ManagedObject>> m_owned;
    std::vector<std::unique_ptr<EntityTable>> m_tables; // by entity index; rows in insertion order
    std::vector<std::unique_ptr<EntityTable>> m_retiredTables; // of objects forgotten by reset()
    std::vector<qint64> m_nextID;                       // by entity index
    std::vector<ManagedObject *> m_changed;
    UndoManager m_undoManager;
    std::function<bool()> m_commitEditing;
    int m_syncDepth = 0;       // open SyncWriteScopes
    bool m_syncWriting = false; // a scope is writing: the public writes it calls are its own
};
