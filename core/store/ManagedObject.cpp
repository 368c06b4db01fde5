#include "core/store/ManagedObject.h"

#include "core/store/ManagedObjectContext.h"

#include <QDateTime>

ManagedObject::ManagedObject(const EntityDescription *entity, ManagedObjectContext *context, EntityTable *table)
    : m_entity(entity)
    , m_context(context)
    , m_table(table)
    , m_row(table->addRow(this))
{
}

ManagedObject::~ManagedObject() = default;

QVariant ManagedObject::value(const QString &key) const
{
    const int a = m_entity->attributeIndex(key);
    if (a >= 0) {
        const StoreValue &v = slot(a);
        if (!v.isValid())
            return {};
        switch (m_entity->attribute(a).type) {
        case AttributeType::Date:
            return QDateTime::fromMSecsSinceEpoch(v.toLongLong());
        case AttributeType::Boolean:
            return v.toLongLong() != 0;
        default:
            return v.toVariant();
        }
    }
    const int r = m_entity->relationshipIndex(key);
    if (r >= 0 && !m_entity->relationship(r).toMany)
        return QVariant::fromValue(relation(r).one);
    return {};
}

void ManagedObject::setValue(const QString &key, const QVariant &value)
{
    m_context->setValue(this, key, value);
}

void ManagedObject::write(const char *key, const QVariant &value)
{
    m_context->setAttribute(this, attr(key), value);
}

ManagedObject *ManagedObject::toOne(const QString &relationship) const
{
    const int r = m_entity->relationshipIndex(relationship);
    return r >= 0 ? relation(r).one : nullptr;
}

QList<ManagedObject *> ManagedObject::toMany(const QString &relationship) const
{
    const int r = m_entity->relationshipIndex(relationship);
    if (r < 0)
        return {};
    const auto &many = relation(r).many;
    return QList<ManagedObject *>(many.begin(), many.end());
}

const QString &ManagedObject::foldedString(int attribute) const
{
    return rowRef().folded(attribute);
}
