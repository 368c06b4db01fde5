#include "core/store/ManagedObject.h"

#include "core/store/ManagedObjectContext.h"
#include "core/store/TextFolding.h"

#include <QDateTime>

ManagedObject::ManagedObject(const EntityDescription *entity, ManagedObjectContext *context)
    : m_entity(entity)
    , m_context(context)
    , m_relations(entity->relationships().size())
{
    m_values.reserve(entity->attributes().size());
    for (const AttributeDescription &a : entity->attributes())
        m_values.push_back(a.defaultValue);
}

ManagedObject::~ManagedObject() = default;

QVariant ManagedObject::value(const QString &key) const
{
    const int a = m_entity->attributeIndex(key);
    if (a >= 0) {
        const QVariant &v = m_values[size_t(a)];
        if (!v.isValid())
            return {};
        switch (m_entity->attribute(a).type) {
        case AttributeType::Date:
            return QDateTime::fromMSecsSinceEpoch(v.toLongLong());
        case AttributeType::Boolean:
            return v.toLongLong() != 0;
        default:
            return v;
        }
    }
    const int r = m_entity->relationshipIndex(key);
    if (r >= 0 && !m_entity->relationship(r).toMany)
        return QVariant::fromValue(m_relations[size_t(r)].one);
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
    return r >= 0 ? m_relations[size_t(r)].one : nullptr;
}

QList<ManagedObject *> ManagedObject::toMany(const QString &relationship) const
{
    const int r = m_entity->relationshipIndex(relationship);
    if (r < 0)
        return {};
    const auto &many = m_relations[size_t(r)].many;
    return QList<ManagedObject *>(many.begin(), many.end());
}

const QString &ManagedObject::foldedString(int attribute) const
{
    if (m_folded.empty())
        m_folded.resize(m_values.size());
    QString &cached = m_folded[size_t(attribute)];
    if (cached.isNull())
        cached = TextFolding::fold(m_values[size_t(attribute)].toString());
    return cached;
}
