#pragma once

#include "core/store/EntityDescription.h"
#include "core/store/EntityTable.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <vector>

class ManagedObjectContext;

// One object of the store. Its attribute values live in its row of the entity's table, in slots
// (StoreValue) indexed like the entity's attributes: strings as text, numbers and booleans as
// integers or reals, dates as milliseconds since 1970 UTC (so that comparing them costs nothing).
// value() hands dates out as QDateTime. Every write goes through the context, which records undo, marks the object
// changed and announces the key before and after. A key the entity does not have throws
// std::logic_error, whichever accessor names it.
class ManagedObject
{
public:
    // Takes a new row of the table, filled with the entity's defaults.
    ManagedObject(const EntityDescription *entity, ManagedObjectContext *context, EntityTable *table);
    virtual ~ManagedObject();
    ManagedObject(const ManagedObject &) = delete;
    ManagedObject &operator=(const ManagedObject &) = delete;

    const EntityDescription &entity() const { return *m_entity; }
    ManagedObjectContext *managedObjectContext() const { return m_context; }
    // The object's key in its table; assigned at insert, never reused.
    qint64 objectID() const { return m_id; }
    bool isDeleted() const { return m_table->deleted[m_row] != 0; }

    // Attributes (dates as QDateTime, booleans as bool) and to-one relationships (as a
    // ManagedObject* in the variant); an absent value is an invalid variant.
    QVariant value(const QString &key) const;
    // A raw write by key: changes the value and announces it, runs no setter logic. It is a
    // user's write (undoable, counted); synchronisation writes through a SyncWriteScope.
    void setValue(const QString &key, const QVariant &value);

    // Raised by every change made outside a SyncWriteScope: the public setters, raw writes,
    // undo and redo, and the other side of a relationship they change. Synchronisation keeps
    // the value it saw when it converted the object and clears needUpdate after the upload
    // only if the value is still the same. Not stored: it starts at 0 with each launch.
    quint64 changeCount() const { return m_changeCount; }

    ManagedObject *toOne(int relationship) const { return relation(relationship).one; }
    const std::vector<ManagedObject *> &toMany(int relationship) const { return relation(relationship).many; }
    ManagedObject *toOne(const QString &relationship) const;
    QList<ManagedObject *> toMany(const QString &relationship) const;

    const StoreValue &slot(int attribute) const { return m_table->values[size_t(attribute)][m_row]; }
    RowRef rowRef() const { return {m_table, m_row}; }

protected:
    // Helpers for the typed entity classes.
    int attr(const char *key) const { return m_entity->requiredAttributeIndex(QLatin1String(key)); }
    int rel(const char *key) const { return m_entity->requiredRelationshipIndex(QLatin1String(key)); }
    QString stringValue(const char *key) const { return slot(attr(key)).toString(); }
    qint64 integerValue(const char *key) const { return slot(attr(key)).toLongLong(); }
    bool boolValue(const char *key) const { return integerValue(key) != 0; }
    void write(const char *key, const QVariant &value);
    template<typename T>
    QList<T *> members(const char *relationship) const
    {
        QList<T *> result;
        for (ManagedObject *o : relation(rel(relationship)).many)
            result.push_back(static_cast<T *>(o));
        return result;
    }

private:
    friend class ManagedObjectContext;
    friend class PersistentStoreCoordinator;

    using Relation = EntityTable::Relation;
    EntityTable::Relation &relation(int relationship) const { return m_table->relations[size_t(relationship)][m_row]; }
    StoreValue &slotRef(int attribute) { return m_table->values[size_t(attribute)][m_row]; }
    void setDeleted(bool deleted) { m_table->deleted[m_row] = deleted ? 1 : 0; }

    const EntityDescription *m_entity;
    ManagedObjectContext *m_context;
    EntityTable *m_table = nullptr;
    quint32 m_row = 0;
    qint64 m_id = 0;
    quint64 m_changeCount = 0;
    // Save bookkeeping.
    quint64 m_dirtyAttributes = 0;
    quint64 m_dirtyRelations = 0;
    bool m_persisted = false; // a row exists in the file
    bool m_pendingSave = false; // in the context's changed set
};

Q_DECLARE_METATYPE(ManagedObject *)
