#include "core/store/ManagedObject.h"

#include "core/store/ManagedObjectContext.h"

#include <QDateTime>

#include <stdexcept>

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
    const int r = m_entity->requiredRelationshipIndex(key);
    if (m_entity->relationship(r).toMany)
        throw std::logic_error(
            QStringLiteral("%1.%2 is a to-many relationship: read it with toMany()").arg(m_entity->name(), key).toStdString());
    return QVariant::fromValue(relation(r).one);
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
    return relation(m_entity->requiredRelationshipIndex(relationship)).one;
}

QList<ManagedObject *> ManagedObject::toMany(const QString &relationship) const
{
    const auto &many = relation(m_entity->requiredRelationshipIndex(relationship)).many;
    return QList<ManagedObject *>(many.begin(), many.end());
}

