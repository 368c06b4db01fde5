#include "core/store/ManagedObjectContext.h"

#include "core/store/EntityClasses.h"
#include "core/store/PersistentStoreCoordinator.h"

#include <QDateTime>

#include <algorithm>
#include <stdexcept>

namespace {
// The slot form of a value written to an attribute of a given type.
QVariant toSlot(const AttributeDescription &a, const QVariant &value)
{
    if (!value.isValid())
        return {};
    switch (a.type) {
    case AttributeType::String:
        return value.toString();
    case AttributeType::Date:
        if (value.metaType().id() == QMetaType::QDateTime) {
            const QDateTime dt = value.toDateTime();
            return dt.isValid() ? QVariant(qlonglong(dt.toMSecsSinceEpoch())) : QVariant();
        }
        return qlonglong(value.toLongLong());
    case AttributeType::Boolean:
        return qlonglong(value.toBool() ? 1 : 0);
    case AttributeType::Integer16:
        return qlonglong(qint16(value.toLongLong()));
    case AttributeType::Integer32:
        return qlonglong(qint32(value.toLongLong()));
    case AttributeType::Integer64:
        return qlonglong(value.toLongLong());
    case AttributeType::Double:
        return value.toDouble();
    }
    return {};
}

quint64 bit(int index)
{
    return quint64(1) << index;
}
} // namespace

ManagedObjectContext::ManagedObjectContext(std::shared_ptr<const ManagedObjectModel> model,
                                           PersistentStoreCoordinator *coordinator, QObject *parent)
    : QObject(parent)
    , m_model(std::move(model))
    , m_coordinator(coordinator)
    , m_nextID(m_model->entities().size(), 1)
{
    for (const auto &entity : m_model->entities()) {
        if (entity->attributes().size() > 64 || entity->relationships().size() > 64)
            throw std::invalid_argument("an entity has more than 64 attributes or relationships");
        m_tables.push_back(std::make_unique<EntityTable>(entity.get()));
    }
}

ManagedObjectContext::~ManagedObjectContext() = default;

ManagedObject *ManagedObjectContext::createObject(const EntityDescription *entity, qint64 id)
{
    std::unique_ptr<ManagedObject> object = EntityClasses::create(entity, this, m_tables[size_t(entity->index())].get());
    ManagedObject *raw = object.get();
    raw->m_id = id;
    m_owned.push_back(std::move(object));
    qint64 &next = m_nextID[size_t(entity->index())];
    next = std::max(next, id + 1);
    return raw;
}

bool ManagedObjectContext::loadAll(AppError *error)
{
    if (!m_coordinator) {
        if (error)
            *error = AppError{QStringLiteral("KelvaraStore"), 1, QStringLiteral("There is no store to read."), {}, {}};
        return false;
    }
    return m_coordinator->loadObjects(*this, error);
}

void ManagedObjectContext::requireUserWrite() const
{
    if (m_syncDepth > 0 && !m_syncWriting)
        throw std::logic_error("a store write inside a SyncWriteScope that does not go through the scope");
}

void ManagedObjectContext::markChanged(ManagedObject *object)
{
    if (m_syncDepth == 0)
        ++object->m_changeCount;
    if (!object->m_pendingSave) {
        object->m_pendingSave = true;
        m_changed.push_back(object);
    }
}

void ManagedObjectContext::addChange(KeyChanges &changes, ManagedObject *object, const QString &key)
{
    for (const KeyChange &c : changes) {
        if (c.object == object && c.key == key)
            return;
    }
    changes.push_back({object, key});
}

void ManagedObjectContext::toOneChanges(ManagedObject *object, int relationship, ManagedObject *target,
                                        KeyChanges &changes) const
{
    const RelationshipDescription &r = object->entity().relationship(relationship);
    addChange(changes, object, r.name);
    if (ManagedObject *old = object->relation(relationship).one)
        addChange(changes, old, r.inverseName);
    if (!target)
        return;
    addChange(changes, target, r.inverseName);
    // One to one: the target leaves the object that held it.
    if (!r.destination->relationship(r.inverseIndex).toMany) {
        ManagedObject *previous = target->relation(r.inverseIndex).one;
        if (previous && previous != object)
            addChange(changes, previous, r.name);
    }
}

void ManagedObjectContext::membershipChanges(ManagedObject *object, int relationship, ManagedObject *member,
                                             KeyChanges &changes) const
{
    const RelationshipDescription &r = object->entity().relationship(relationship);
    addChange(changes, object, r.name);
    addChange(changes, member, r.inverseName);
    // A member that can belong to one owner only leaves its previous one.
    if (!r.destination->relationship(r.inverseIndex).toMany) {
        ManagedObject *previous = member->relation(r.inverseIndex).one;
        if (previous && previous != object)
            addChange(changes, previous, r.name);
    }
}

void ManagedObjectContext::willChange(const KeyChanges &changes)
{
    for (const KeyChange &c : changes)
        emit objectWillChange(c.object, c.key);
}

void ManagedObjectContext::didChange(const KeyChanges &changes)
{
    for (const KeyChange &c : changes)
        emit objectChanged(c.object, c.key);
}

ManagedObject *ManagedObjectContext::insertNewObject(const QString &entityName)
{
    const EntityDescription *entity = m_model->entity(entityName);
    if (!entity)
        throw std::invalid_argument(QStringLiteral("no entity %1").arg(entityName).toStdString());
    requireUserWrite();
    ManagedObject *object = createObject(entity, m_nextID[size_t(entity->index())]);
    markChanged(object);
    m_undoManager.registerUndo([this, object] { deleteObject(object); });
    EntityClasses::awakeFromInsert(object);
    emit objectInserted(object);
    return object;
}

void ManagedObjectContext::deleteObject(ManagedObject *object)
{
    if (!object || object->isDeleted() || object->m_context != this)
        return;
    requireUserWrite();
    const auto &relationships = object->entity().relationships();
    for (size_t i = 0; i < relationships.size(); ++i) {
        const RelationshipDescription &r = relationships[i];
        std::vector<ManagedObject *> related;
        if (r.toMany)
            related = object->relation(int(i)).many;
        else if (object->relation(int(i)).one)
            related.push_back(object->relation(int(i)).one);
        for (ManagedObject *other : related) {
            if (r.toMany)
                removeFromMany(object, int(i), other);
            else
                setToOne(object, int(i), nullptr);
            if (r.deleteRule == DeleteRule::Cascade)
                deleteObject(other);
        }
    }
    object->setDeleted(true);
    markChanged(object);
    m_undoManager.registerUndo([this, object] { undelete(object); });
    emit objectDeleted(object);
}

void ManagedObjectContext::undelete(ManagedObject *object)
{
    if (!object->isDeleted())
        return;
    object->setDeleted(false);
    markChanged(object);
    m_undoManager.registerUndo([this, object] { deleteObject(object); });
    emit objectInserted(object);
}

template<typename Visit>
void ManagedObjectContext::scan(const FetchRequest &request, Visit visit) const
{
    const EntityDescription *entity = m_model->entity(request.entityName);
    if (!entity)
        throw std::invalid_argument(QStringLiteral("no entity %1").arg(request.entityName).toStdString());
    request.predicate.validate(*entity);
    request.filterPredicate.validate(*entity);
    EntityTable &table = *m_tables[size_t(entity->index())];
    for (quint32 row = 0; row < table.rows.size(); ++row) {
        if (!table.deleted[row] && request.predicate.evaluateRow({&table, row})
            && request.filterPredicate.evaluateRow({&table, row}))
            visit(table.rows[row]);
    }
}

QList<ManagedObject *> ManagedObjectContext::executeFetchRequest(const FetchRequest &request) const
{
    std::vector<ManagedObject *> matches;
    scan(request, [&matches](ManagedObject *o) { matches.push_back(o); });
    SortDescriptor::sort(matches, request.sortDescriptors);
    return QList<ManagedObject *>(matches.begin(), matches.end());
}

QList<ManagedObject *> ManagedObjectContext::fetch(const QString &entityName, const Predicate &predicate,
                                                   const std::vector<SortDescriptor> &sortDescriptors) const
{
    return executeFetchRequest(FetchRequest{entityName, predicate, sortDescriptors, {}});
}

int ManagedObjectContext::countForFetchRequest(const FetchRequest &request) const
{
    int n = 0;
    scan(request, [&n](ManagedObject *) { ++n; });
    return n;
}

int ManagedObjectContext::count(const QString &entityName, const Predicate &predicate) const
{
    return countForFetchRequest(FetchRequest{entityName, predicate, {}, {}});
}

void ManagedObjectContext::setValue(ManagedObject *object, const QString &key, const QVariant &value)
{
    const EntityDescription &entity = object->entity();
    const int a = entity.attributeIndex(key);
    if (a >= 0)
        return setAttribute(object, a, value);
    const int r = entity.requiredRelationshipIndex(key);
    if (entity.relationship(r).toMany)
        throw std::logic_error(QStringLiteral("%1.%2 is a to-many relationship: add and remove its members")
                                   .arg(entity.name(), key).toStdString());
    setToOne(object, r, value.value<ManagedObject *>());
}

void ManagedObjectContext::setAttribute(ManagedObject *object, int attribute, const QVariant &value)
{
    requireUserWrite();
    const KeyChanges changes{{object, object->entity().attribute(attribute).name}};
    willChange(changes);
    applyAttribute(object, attribute, value);
    didChange(changes);
}

void ManagedObjectContext::applyAttribute(ManagedObject *object, int attribute, const QVariant &value)
{
    const AttributeDescription &a = object->entity().attribute(attribute);
    QVariant old = object->slot(attribute).toVariant();
    object->slotRef(attribute) = StoreValue::fromVariant(toSlot(a, value));
    object->m_dirtyAttributes |= bit(attribute);
    std::vector<QString> &folded = object->m_table->folded[size_t(attribute)];
    if (object->m_row < folded.size())
        folded[object->m_row] = QString();
    markChanged(object);
    m_undoManager.registerUndo([this, object, attribute, old] {
        const AttributeDescription &desc = object->entity().attribute(attribute);
        // Undo and redo change the task the user sees, so whatever a synchronisation uploaded
        // since is out of date: the object is sent again, whatever needUpdate was before.
        if (desc.name == QLatin1String("needUpdate"))
            return setAttribute(object, attribute, true);
        // The old value is already in slot form; dates go back through their millisecond count.
        setAttribute(object, attribute, desc.type == AttributeType::Date && old.isValid()
                                            ? QVariant(QDateTime::fromMSecsSinceEpoch(old.toLongLong()))
                                            : old);
    });
}

void ManagedObjectContext::unlinkInverse(ManagedObject *object, const RelationshipDescription &r, ManagedObject *other)
{
    ManagedObject::Relation &inverse = other->relation(r.inverseIndex);
    if (r.destination->relationship(r.inverseIndex).toMany) {
        if (std::erase(inverse.many, object) > 0)
            emit membershipChanged(other, r.inverseName, object, false);
    } else if (inverse.one == object) {
        inverse.one = nullptr;
    }
    other->m_dirtyRelations |= bit(r.inverseIndex);
    markChanged(other);
}

void ManagedObjectContext::linkInverse(ManagedObject *object, const RelationshipDescription &r, ManagedObject *other)
{
    const RelationshipDescription &inverseDesc = r.destination->relationship(r.inverseIndex);
    ManagedObject::Relation &inverse = other->relation(r.inverseIndex);
    if (inverseDesc.toMany) {
        if (std::find(inverse.many.begin(), inverse.many.end(), object) == inverse.many.end()) {
            inverse.many.push_back(object);
            emit membershipChanged(other, r.inverseName, object, true);
        }
    } else {
        // The other side can belong to one object only: take it away from its previous owner.
        if (inverse.one && inverse.one != object) {
            ManagedObject *previous = inverse.one;
            ManagedObject::Relation &prevRel = previous->relation(inverseDesc.inverseIndex);
            if (r.toMany) {
                if (std::erase(prevRel.many, other) > 0)
                    emit membershipChanged(previous, r.name, other, false);
            } else {
                prevRel.one = nullptr;
            }
            previous->m_dirtyRelations |= bit(inverseDesc.inverseIndex);
            markChanged(previous);
        }
        inverse.one = object;
    }
    other->m_dirtyRelations |= bit(r.inverseIndex);
    markChanged(other);
}

void ManagedObjectContext::setToOne(ManagedObject *object, int relationship, ManagedObject *target)
{
    requireUserWrite();
    if (object->relation(relationship).one == target)
        return;
    KeyChanges changes;
    toOneChanges(object, relationship, target, changes);
    willChange(changes);
    applyToOne(object, relationship, target);
    didChange(changes);
}

void ManagedObjectContext::applyToOne(ManagedObject *object, int relationship, ManagedObject *target)
{
    const RelationshipDescription &r = object->entity().relationship(relationship);
    ManagedObject *old = object->relation(relationship).one;
    if (old == target)
        return;
    if (old)
        unlinkInverse(object, r, old);
    object->relation(relationship).one = target;
    object->m_dirtyRelations |= bit(relationship);
    markChanged(object);
    if (target)
        linkInverse(object, r, target);
    m_undoManager.registerUndo([this, object, relationship, old] { setToOne(object, relationship, old); });
}

void ManagedObjectContext::addToMany(ManagedObject *object, int relationship, ManagedObject *member)
{
    requireUserWrite();
    const auto &many = object->relation(relationship).many;
    if (!member || std::find(many.begin(), many.end(), member) != many.end())
        return;
    KeyChanges changes;
    membershipChanges(object, relationship, member, changes);
    willChange(changes);
    applyMembership(object, relationship, member, true);
    didChange(changes);
}

void ManagedObjectContext::removeFromMany(ManagedObject *object, int relationship, ManagedObject *member)
{
    requireUserWrite();
    const auto &many = object->relation(relationship).many;
    if (std::find(many.begin(), many.end(), member) == many.end())
        return;
    KeyChanges changes;
    membershipChanges(object, relationship, member, changes);
    willChange(changes);
    applyMembership(object, relationship, member, false);
    didChange(changes);
}

void ManagedObjectContext::applyMembership(ManagedObject *object, int relationship, ManagedObject *member, bool joined)
{
    const RelationshipDescription &r = object->entity().relationship(relationship);
    auto &many = object->relation(relationship).many;
    if (joined)
        many.push_back(member);
    else
        std::erase(many, member);
    object->m_dirtyRelations |= bit(relationship);
    markChanged(object);
    emit membershipChanged(object, r.name, member, joined);
    if (joined)
        linkInverse(object, r, member);
    else
        unlinkInverse(object, r, member);
    m_undoManager.registerUndo([this, object, relationship, member, joined] {
        if (joined)
            removeFromMany(object, relationship, member);
        else
            addToMany(object, relationship, member);
    });
}

bool ManagedObjectContext::hasChanges() const
{
    return std::any_of(m_changed.begin(), m_changed.end(), [](const ManagedObject *o) {
        return o->isDeleted() ? o->m_persisted : (!o->m_persisted || o->m_dirtyAttributes || o->m_dirtyRelations);
    });
}

bool ManagedObjectContext::save(AppError *error)
{
    if (!hasChanges())
        return true;
    if (!m_coordinator) {
        if (error)
            *error = AppError{QStringLiteral("KelvaraStore"), 1, QStringLiteral("There is no store to save to."), {}, {}};
        return false;
    }
    if (!m_coordinator->writeChanges(m_changed, error))
        return false; // every change stays marked, to be written by the next save
    for (ManagedObject *o : m_changed) {
        o->m_persisted = !o->isDeleted();
        o->m_dirtyAttributes = 0;
        o->m_dirtyRelations = 0;
        o->m_pendingSave = false;
    }
    m_changed.clear();
    emit didSave();
    return true;
}

void ManagedObjectContext::reset()
{
    for (ManagedObject *o : m_changed)
        o->m_pendingSave = false;
    m_changed.clear();
    // The forgotten objects keep their (retired) rows, flagged deleted and never written again.
    for (auto &owned : m_owned) {
        owned->setDeleted(true);
        owned->m_persisted = false;
    }
    for (auto &table : m_tables) {
        const EntityDescription *entity = table->entity;
        m_retiredTables.push_back(std::move(table));
        table = std::make_unique<EntityTable>(entity);
    }
    std::fill(m_nextID.begin(), m_nextID.end(), 1);
    m_undoManager.removeAllActions();
    emit contextReset();
}
