#include "core/store/EntityDescription.h"

#include <stdexcept>

EntityDescription::EntityDescription(QString name, std::vector<AttributeDescription> attributes,
                                     std::vector<RelationshipDescription> relationships)
    : m_name(std::move(name))
    , m_attributes(std::move(attributes))
    , m_relationships(std::move(relationships))
{
    for (size_t i = 0; i < m_attributes.size(); ++i)
        m_attributeIndex.insert(m_attributes[i].name, int(i));
    for (size_t i = 0; i < m_relationships.size(); ++i)
        m_relationshipIndex.insert(m_relationships[i].name, int(i));
}

int EntityDescription::unknownKey(const QString &key) const
{
    throw std::logic_error(QStringLiteral("the entity %1 has no key \"%2\"").arg(m_name, key).toStdString());
}
