#include "core/store/KeyPath.h"

#include "core/store/ManagedObject.h"

#include <stdexcept>

KeyPath KeyPath::resolve(const EntityDescription &entity, const QString &path)
{
    QStringList parts = path.split(u'.');
    if (!parts.isEmpty() && parts.first() == u"SELF")
        parts.removeFirst();
    if (parts.isEmpty())
        throw std::invalid_argument("empty key path");

    KeyPath result;
    const EntityDescription *current = &entity;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &key = parts.at(i);
        const bool last = i == parts.size() - 1;
        const int attribute = current->attributeIndex(key);
        if (attribute >= 0 && last) {
            result.m_attribute = attribute;
            return result;
        }
        const int relationship = current->relationshipIndex(key);
        if (relationship < 0)
            throw std::invalid_argument(QStringLiteral("no key %1 in %2 (path %3)")
                                            .arg(key, current->name(), path).toStdString());
        const RelationshipDescription &r = current->relationship(relationship);
        if (last && !r.toMany) {
            result.m_finalRelationship = relationship;
            return result;
        }
        if (last)
            throw std::invalid_argument(QStringLiteral("key path %1 ends in a to-many relationship").arg(path).toStdString());
        result.m_steps.push_back({relationship, r.toMany});
        current = r.destination;
    }
    return result;
}

const ManagedObject *KeyPath::holder(const ManagedObject *object) const
{
    for (const Step &s : m_steps) {
        if (!object || s.toMany)
            return nullptr;
        object = object->toOne(s.relationship);
    }
    return object;
}

QVariant KeyPath::slotValue(const ManagedObject *object) const
{
    const ManagedObject *h = holder(object);
    if (!h)
        return {};
    if (m_attribute >= 0)
        return h->slot(m_attribute).toVariant();
    ManagedObject *target = h->toOne(m_finalRelationship);
    return target ? QVariant::fromValue(target) : QVariant();
}
