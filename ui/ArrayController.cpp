#include "ui/ArrayController.h"

#include "core/store/ManagedObjectContext.h"

#include <QAbstractItemView>
#include <QTimer>

#include <algorithm>

ArrayController::ArrayController(QObject *parent)
    : QAbstractListModel(parent)
    , m_selection(this)
{
    connect(&m_selection, &QItemSelectionModel::selectionChanged, this, &ArrayController::selectionChanged);
}

ArrayController::~ArrayController() = default;

void ArrayController::showIn(QAbstractItemView *view)
{
    view->setModel(this);
    // setModel() made the view a selection model of its own, which the view keeps when another
    // replaces it. Shown a second time, the view already has ours and makes none.
    QItemSelectionModel *made = view->selectionModel();
    if (made == &m_selection)
        return;
    view->setSelectionModel(&m_selection);
    delete made;
}

void ArrayController::setManagedObjectContext(ManagedObjectContext *context)
{
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_context = context;
    forgetSortedContent();
    if (context) {
        m_connections << connect(context, &ManagedObjectContext::objectChanged, this, &ArrayController::onObjectChanged)
                      << connect(context, &ManagedObjectContext::membershipChanged, this,
                                 &ArrayController::onMembershipChanged)
                      << connect(context, &ManagedObjectContext::objectInserted, this, &ArrayController::onObjectInserted)
                      << connect(context, &ManagedObjectContext::objectDeleted, this, &ArrayController::onObjectDeleted)
                      << connect(context, &ManagedObjectContext::contextReset, this, &ArrayController::onContextReset);
    }
}

void ArrayController::setEntityName(const QString &entityName)
{
    m_entityName = entityName;
    forgetSortedContent();
}

void ArrayController::setFetchPredicate(const Predicate &predicate)
{
    m_fetchPredicate = predicate;
    forgetSortedContent();
}

void ArrayController::setContentRelationship(ManagedObject *owner, const QString &relationship)
{
    m_owner = owner;
    m_relationship = relationship;
    rearrangeObjects();
}

void ArrayController::setFilterPredicate(const Predicate &predicate)
{
    m_filterPredicate = predicate;
    rearrangeObjects();
}

void ArrayController::setSortDescriptors(std::vector<SortDescriptor> descriptors)
{
    m_sortDescriptors = std::move(descriptors);
    forgetSortedContent();
    rearrangeObjects();
}

QList<ManagedObject *> ArrayController::fetchContent() const
{
    if (!m_context || !m_owner || m_owner->isDeleted())
        return {};
    return m_owner->toMany(m_relationship);
}

void ArrayController::rearrangeObjects()
{
    const QList<ManagedObject *> selected = selectedObjects();
    const int oldCount = count();
    m_content.clear();
    QList<ManagedObject *> arranged;
    if (m_relationship.isEmpty()) {
        if (!m_sortDescriptors.empty())
            arranged = arrangeSortedContent();
        // One scan of the store answers both the content and the filter.
        else if (m_context && !m_entityName.isEmpty())
            arranged = m_context->executeFetchRequest({m_entityName, m_fetchPredicate, {}, m_filterPredicate});
    } else {
        std::vector<ManagedObject *> members;
        for (ManagedObject *o : fetchContent()) {
            m_content.insert(o);
            if (!o->isDeleted() && m_filterPredicate.evaluate(o))
                members.push_back(o);
        }
        SortDescriptor::sort(members, m_sortDescriptors);
        arranged = QList<ManagedObject *>(members.begin(), members.end());
    }
    m_pending.clear();

    beginResetModel();
    m_arranged = arranged;
    rebuildRowIndex();
    endResetModel();

    setSelectedObjects(selected);
    ensureSelection();
    emit arrangedObjectsChanged(count(), oldCount);
}

QList<ManagedObject *> ArrayController::arrangeSortedContent()
{
    if (!m_context || m_entityName.isEmpty())
        return {};
    if (!m_sortedContentValid) {
        m_sortedContent = m_context->executeFetchRequest({m_entityName, m_fetchPredicate, m_sortDescriptors, {}});
        m_sortedRows.clear();
        m_sortedRows.reserve(size_t(m_sortedContent.size()));
        m_rowLimit = 0;
        for (const ManagedObject *o : std::as_const(m_sortedContent)) {
            m_sortedRows.push_back(o->rowRef().row);
            m_rowLimit = std::max(m_rowLimit, size_t(o->rowRef().row) + 1);
        }
        m_sortedContentValid = true;
    }
    if (m_filterPredicate.isNull())
        return m_sortedContent;
    // The filter runs in the store's own scan, which reads its table in order; the matches are
    // then taken from the sorted content in its order.
    const QList<ManagedObject *> matches =
        m_context->executeFetchRequest({m_entityName, m_fetchPredicate, {}, m_filterPredicate});
    if (matches.size() == m_sortedContent.size())
        return m_sortedContent;
    std::vector<quint8> matched(m_rowLimit, 0);
    for (const ManagedObject *o : matches)
        matched[o->rowRef().row] = 1;
    QList<ManagedObject *> arranged;
    arranged.reserve(matches.size());
    for (size_t i = 0; i < m_sortedRows.size(); ++i) {
        if (matched[m_sortedRows[i]])
            arranged << m_sortedContent.at(qsizetype(i));
    }
    return arranged;
}

void ArrayController::forgetSortedContent()
{
    m_sortedContentValid = false;
    m_sortedContent = {};
    m_sortedRows = {};
}

void ArrayController::rebuildRowIndex() const
{
    m_rowIndexStale = false;
    m_staleLookups = 0;
    m_rowOf.clear();
    m_rowOf.reserve(m_arranged.size());
    for (int i = 0; i < m_arranged.size(); ++i)
        m_rowOf.insert(m_arranged.at(i), i);
}

ManagedObject *ArrayController::objectAt(int row) const
{
    return row >= 0 && row < m_arranged.size() ? m_arranged.at(row) : nullptr;
}

int ArrayController::indexOf(const ManagedObject *object) const
{
    if (m_rowIndexStale) {
        if (++m_staleLookups <= 16) {
            const auto it = std::find(m_arranged.cbegin(), m_arranged.cend(), object);
            return it == m_arranged.cend() ? -1 : int(it - m_arranged.cbegin());
        }
        rebuildRowIndex();
    }
    return m_rowOf.value(object, -1);
}

QList<int> ArrayController::selectionIndexes() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_selection.selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<ManagedObject *> ArrayController::selectedObjects() const
{
    QList<ManagedObject *> objects;
    for (int row : selectionIndexes())
        objects << m_arranged.at(row);
    return objects;
}

ManagedObject *ArrayController::firstSelectedObject() const
{
    const QList<int> rows = selectionIndexes();
    return rows.isEmpty() ? nullptr : m_arranged.at(rows.first());
}

bool ArrayController::setSelectionIndexes(const QList<int> &rows)
{
    QItemSelection selection;
    for (int row : rows) {
        if (row >= 0 && row < count())
            selection.select(index(row), index(row));
    }
    m_selection.select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (!selection.isEmpty())
        m_selection.setCurrentIndex(selection.indexes().first(), QItemSelectionModel::NoUpdate);
    return !rows.isEmpty() && !selection.isEmpty();
}

bool ArrayController::setSelectedObjects(const QList<ManagedObject *> &objects)
{
    QList<int> rows;
    for (ManagedObject *o : objects) {
        const int row = indexOf(o);
        if (row >= 0)
            rows << row;
    }
    const bool took = setSelectionIndexes(rows);
    return took && rows.size() == objects.size();
}

void ArrayController::ensureSelection()
{
    if (m_avoidsEmptySelection && count() > 0 && !m_selection.hasSelection())
        setSelectionIndexes({0});
}

int ArrayController::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant ArrayController::data(const QModelIndex &index, int role) const
{
    ManagedObject *object = objectAt(index.row());
    if (!object)
        return {};
    if (role == ObjectRole)
        return QVariant::fromValue(object);
    return dataForObject(object, role);
}

QVariant ArrayController::dataForObject(ManagedObject *object, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    // Notebooks and tags have a name, tasks a title.
    const bool named = object->entity().attributeIndex(QStringLiteral("name")) >= 0;
    return object->value(named ? QStringLiteral("name") : QStringLiteral("title"));
}

void ArrayController::removeRow(int row)
{
    const int oldCount = count();
    const bool wasSelected = m_selection.isRowSelected(row, QModelIndex());
    beginRemoveRows(QModelIndex(), row, row);
    m_arranged.removeAt(row);
    m_rowIndexStale = true;
    endRemoveRows();
    if (wasSelected && !m_selection.hasSelection() && count() > 0 && m_avoidsEmptySelection)
        setSelectionIndexes({std::min(row, count() - 1)});
    emit arrangedObjectsChanged(count(), oldCount);
}

void ArrayController::onObjectChanged(ManagedObject *object, const QString &key)
{
    Q_UNUSED(key);
    // Any value may be a sort key, or one a fetch reads through a relationship.
    forgetSortedContent();
    const int row = indexOf(object);
    if (row >= 0)
        emit dataChanged(index(row), index(row));
}

void ArrayController::onMembershipChanged(ManagedObject *owner, const QString &relationship, ManagedObject *member,
                                          bool joined)
{
    forgetSortedContent();
    if (!m_owner || owner != m_owner || relationship != m_relationship)
        return;
    if (joined) {
        // A new member waits to be checked against the filter until the action is over.
        if (!m_content.contains(member)) {
            m_content.insert(member);
            schedulePending(member);
        }
        return;
    }
    m_content.remove(member);
    const int row = indexOf(member);
    if (row >= 0)
        removeRow(row);
}

void ArrayController::onObjectInserted(ManagedObject *object)
{
    forgetSortedContent();
    if (m_relationship.isEmpty() && object->entity().name() == m_entityName && indexOf(object) < 0)
        schedulePending(object);
}

void ArrayController::onObjectDeleted(ManagedObject *object)
{
    forgetSortedContent();
    if (object == m_owner) {
        m_owner = nullptr;
        rearrangeObjects();
        return;
    }
    const int row = indexOf(object);
    if (row >= 0)
        removeRow(row);
    m_content.remove(object);
}

void ArrayController::onContextReset()
{
    forgetSortedContent();
    m_owner = nullptr;
    rearrangeObjects();
}

void ArrayController::schedulePending(ManagedObject *object)
{
    m_pending.push_back(object);
    if (m_pendingScheduled)
        return;
    m_pendingScheduled = true;
    // An inserted object gets its values right after insertion: look at it once the user's
    // action is complete, as the store's own change processing would.
    QTimer::singleShot(0, this, &ArrayController::processPendingChanges);
}

void ArrayController::processPendingChanges()
{
    m_pendingScheduled = false;
    if (m_pending.isEmpty())
        return;
    const QList<ManagedObject *> pending = std::exchange(m_pending, {});
    QList<ManagedObject *> joining;
    for (ManagedObject *o : pending) {
        if (o->isDeleted() || indexOf(o) >= 0 || joining.contains(o))
            continue;
        if (!m_relationship.isEmpty()) {
            if (!m_content.contains(o))
                continue; // it left again before the action was over
        } else if (!m_fetchPredicate.evaluate(o)) {
            continue;
        }
        if (m_filterPredicate.evaluate(o))
            joining << o;
    }
    if (joining.isEmpty())
        return;
    const int oldCount = count();
    beginInsertRows(QModelIndex(), oldCount, oldCount + int(joining.size()) - 1);
    m_arranged << joining;
    rebuildRowIndex();
    endInsertRows();
    emit arrangedObjectsChanged(count(), oldCount);
}
