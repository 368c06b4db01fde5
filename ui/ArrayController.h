#pragma once

#include "core/store/ManagedObjectContext.h"
#include "core/store/Predicate.h"
#include "core/store/SortDescriptor.h"

#include <QAbstractListModel>
#include <QHash>
#include <QItemSelectionModel>
#include <QList>
#include <QPointer>
#include <QSet>

#include <vector>

class ManagedObject;
class QAbstractItemView;

// A list model over the store, in the manner of an array controller: its content is either
// every object of an entity matching a fetch predicate, or the members of one object's to-many
// relationship (the tasks of the selected notebook). The arranged objects are the content
// filtered by the filter predicate and sorted by the sort descriptors.
//
// Arranging happens on request (rearrangeObjects) and when the filter or sort changes. In
// between, a changed attribute refreshes its row without moving it, a deleted object leaves
// its row, and an object that joins the content (inserted, or added to the relationship) is
// appended when it passes the filter. The selection lives in selectionModel() and follows the
// selected objects through every rearrangement.
class ArrayController : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { ObjectRole = Qt::UserRole + 1 };

    explicit ArrayController(QObject *parent = nullptr);
    ~ArrayController() override;

    void setManagedObjectContext(ManagedObjectContext *context);
    ManagedObjectContext *managedObjectContext() const { return m_context; }

    // Fetch mode: every object of the entity that matches the fetch predicate.
    void setEntityName(const QString &entityName);
    QString entityName() const { return m_entityName; }
    void setFetchPredicate(const Predicate &predicate);
    // Relationship mode: the members of owner's to-many relationship (nullptr owner: empty).
    void setContentRelationship(ManagedObject *owner, const QString &relationship);
    ManagedObject *contentOwner() const { return m_owner; }

    void setFilterPredicate(const Predicate &predicate);
    const Predicate &filterPredicate() const { return m_filterPredicate; }
    void setSortDescriptors(std::vector<SortDescriptor> descriptors);
    // When true (the default) a non-empty list always keeps one selected row.
    void setAvoidsEmptySelection(bool avoid) { m_avoidsEmptySelection = avoid; }

    void rearrangeObjects();
    // Adds the objects that joined the content since the last arrangement (normally done when
    // control returns to the event loop).
    void processPendingChanges();

    const QList<ManagedObject *> &arrangedObjects() const { return m_arranged; }
    int count() const { return int(m_arranged.size()); }
    ManagedObject *objectAt(int row) const;
    int indexOf(const ManagedObject *object) const;

    QItemSelectionModel *selectionModel() { return &m_selection; }
    // Makes `view` show the arranged objects and share this selection.
    void showIn(QAbstractItemView *view);
    QList<int> selectionIndexes() const; // ascending
    QList<ManagedObject *> selectedObjects() const;
    ManagedObject *firstSelectedObject() const;
    bool setSelectionIndexes(const QList<int> &rows);
    bool setSelectedObjects(const QList<ManagedObject *> &objects);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

signals:
    // The arranged rows changed in number or order (not on a mere attribute change).
    void arrangedObjectsChanged(int count, int oldCount);
    void selectionChanged();

protected:
    // The display data of one object; the default shows its "name" or "title".
    virtual QVariant dataForObject(ManagedObject *object, int role) const;

private:
    QList<ManagedObject *> fetchContent() const; // relationship mode
    // Fetch mode with a sort: the content in order, then the filter.
    QList<ManagedObject *> arrangeSortedContent();
    void forgetSortedContent();
    void rebuildRowIndex() const;
    void onObjectChanged(ManagedObject *object, const QString &key);
    void onMembershipChanged(ManagedObject *owner, const QString &relationship, ManagedObject *member, bool joined);
    void onObjectInserted(ManagedObject *object);
    void onObjectDeleted(ManagedObject *object);
    void onContextReset();
    void schedulePending(ManagedObject *object);
    void removeRow(int row);
    void ensureSelection();

    QPointer<ManagedObjectContext> m_context;
    QString m_entityName;
    Predicate m_fetchPredicate;
    ManagedObject *m_owner = nullptr;
    QString m_relationship;
    Predicate m_filterPredicate;
    std::vector<SortDescriptor> m_sortDescriptors;
    bool m_avoidsEmptySelection = true;

    QList<ManagedObject *> m_arranged;
    // Rows by object. Removing rows one by one leaves it stale; a few lookups then scan the
    // rows, and the index is rebuilt only when lookups keep coming.
    mutable QHash<const ManagedObject *, int> m_rowOf;
    mutable bool m_rowIndexStale = false;
    mutable int m_staleLookups = 0;
    QSet<const ManagedObject *> m_content; // relationship mode: the members
    // Fetch mode: the whole content sorted, kept while the store, the fetch and the order stay
    // as they are. A search changes only the filter at every keystroke; filtering the sorted
    // content keeps its order (the sort is stable), so a keystroke never sorts again.
    QList<ManagedObject *> m_sortedContent;
    std::vector<quint32> m_sortedRows; // their rows in the entity's table
    size_t m_rowLimit = 0;
    bool m_sortedContentValid = false;
    QList<ManagedObject *> m_pending;
    bool m_pendingScheduled = false;
    QItemSelectionModel m_selection;
    QList<QMetaObject::Connection> m_connections;
};
