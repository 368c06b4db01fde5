#include "core/store/EntityDescription.h"

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
