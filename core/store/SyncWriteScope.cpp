#include "core/store/SyncWriteScope.h"

#include <QScopedValueRollback>
#include <QThread>

#include <algorithm>
#include <stdexcept>

namespace {
[[noreturn]] void refuse(const ManagedObject &object, const QString &key, const QString &why)
{
    throw std::logic_error(QStringLiteral("sync write of %1.%2: %3").arg(object.entity().name(), key, why).toStdString());
}

bool contains(const std::vector<ManagedObject *> &objects, const ManagedObject *object)
{
    return std::find(objects.begin(), objects.end(), object) != objects.end();
}

// One key of a write, resolved and checked.
struct Step
{
    enum class Kind { Attribute, ToOne, Join, Leave } kind;
    int index;
    QVariant value;                    // Attribute
    ManagedObject *object = nullptr;   // ToOne: the target; Join, Leave: the member
};
} // namespace

SyncWriteScope::SyncWriteScope(ManagedObjectContext &context)
    : m_context(context)
{
    Q_ASSERT(QThread::currentThread() == context.thread());
    ++m_context.m_syncDepth;
    m_context.undoManager()->disableUndoRegistration();
}

SyncWriteScope::~SyncWriteScope()
{
    m_context.undoManager()->enableUndoRegistration();
    --m_context.m_syncDepth;
}

void SyncWriteScope::write(ManagedObject *object, const KeyValues &values)
{
    if (!object || object->managedObjectContext() != &m_context || object->isDeleted())
        throw std::logic_error("sync write of an object that is not a live object of this store");
    const EntityDescription &entity = object->entity();
    std::vector<Step> steps;
    ManagedObjectContext::KeyChanges changes;
    for (size_t i = 0; i < values.size(); ++i) {
        const auto &[key, value] = values[i];
        for (size_t j = 0; j < i; ++j) {
            if (values[j].first == key)
                refuse(*object, key, QStringLiteral("the key is written twice"));
        }
        const int a = entity.attributeIndex(key);
        if (a >= 0) {
            steps.push_back({Step::Kind::Attribute, a, value});
            ManagedObjectContext::addChange(changes, object, key);
            continue;
        }
        const int r = entity.requiredRelationshipIndex(key);
        const RelationshipDescription &rel = entity.relationship(r);
        auto checkTarget = [&](ManagedObject *target) {
            if (target && (target->entity().index() != rel.destination->index() || target->isDeleted()
                           || target->managedObjectContext() != &m_context))
                refuse(*object, key, QStringLiteral("not a live %1 of this store").arg(rel.destination->name()));
        };
        if (!rel.toMany) {
            if (value.isValid() && value.metaType() != QMetaType::fromType<ManagedObject *>())
                refuse(*object, key, QStringLiteral("a to-one relationship takes SyncWriteScope::toOne()"));
            ManagedObject *target = value.value<ManagedObject *>();
            checkTarget(target);
            if (target == object->toOne(r))
                continue;
            m_context.toOneChanges(object, r, target, changes);
            steps.push_back({Step::Kind::ToOne, r, {}, target});
            continue;
        }
        if (value.metaType() != QMetaType::fromType<QList<ManagedObject *>>())
            refuse(*object, key, QStringLiteral("a to-many relationship takes SyncWriteScope::toMany()"));
        const QList<ManagedObject *> given = value.value<QList<ManagedObject *>>();
        std::vector<ManagedObject *> wanted;
        for (ManagedObject *member : given) {
            checkTarget(member);
            if (member && !contains(wanted, member))
                wanted.push_back(member);
        }
        const std::vector<ManagedObject *> current = object->toMany(r);
        for (ManagedObject *member : current) {
            if (!contains(wanted, member)) {
                m_context.membershipChanges(object, r, member, changes);
                steps.push_back({Step::Kind::Leave, r, {}, member});
            }
        }
        for (ManagedObject *member : wanted) {
            if (!contains(current, member)) {
                m_context.membershipChanges(object, r, member, changes);
                steps.push_back({Step::Kind::Join, r, {}, member});
            }
        }
    }

    m_context.willChange(changes);
    for (const Step &step : steps) {
        switch (step.kind) {
        case Step::Kind::Attribute:
            m_context.applyAttribute(object, step.index, step.value);
            break;
        case Step::Kind::ToOne:
            m_context.applyToOne(object, step.index, step.object);
            break;
        case Step::Kind::Join:
        case Step::Kind::Leave:
            m_context.applyMembership(object, step.index, step.object, step.kind == Step::Kind::Join);
            break;
        }
    }
    m_context.didChange(changes);
}

ManagedObject *SyncWriteScope::insertNewObject(const QString &entityName)
{
    const QScopedValueRollback writing(m_context.m_syncWriting, true);
    return m_context.insertNewObject(entityName);
}

void SyncWriteScope::deleteObject(ManagedObject *object)
{
    const QScopedValueRollback writing(m_context.m_syncWriting, true);
    m_context.deleteObject(object);
}
