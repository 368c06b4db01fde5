#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <vector>

enum class AttributeType { String, Date, Boolean, Integer16, Integer32, Integer64, Double };

struct AttributeDescription
{
    QString name;
    AttributeType type = AttributeType::String;
    QVariant defaultValue; // in the slot representation; invalid = absent
    bool optional = false;

};

enum class DeleteRule { Nullify, Cascade, Deny, NoAction };

class EntityDescription;

struct RelationshipDescription
{
    QString name;
    QString destinationName;
    QString inverseName;
    bool toMany = false;
    DeleteRule deleteRule = DeleteRule::Nullify;
    // Resolved once the whole model is loaded.
    const EntityDescription *destination = nullptr;
    int inverseIndex = -1;
};

// One entity of the object model: its attributes and relationships, addressed by index.
class EntityDescription
{
public:
    EntityDescription(QString name, std::vector<AttributeDescription> attributes,
                      std::vector<RelationshipDescription> relationships);

    const QString &name() const { return m_name; }
    int index() const { return m_index; }
    const std::vector<AttributeDescription> &attributes() const { return m_attributes; }
    const std::vector<RelationshipDescription> &relationships() const { return m_relationships; }
    std::vector<RelationshipDescription> &relationships() { return m_relationships; }

    int attributeIndex(const QString &name) const { return m_attributeIndex.value(name, -1); }
    int relationshipIndex(const QString &name) const { return m_relationshipIndex.value(name, -1); }
    // For keys the code relies on: a key the entity lacks is a programming error (a typo, or a
    // model out of step with the typed classes), thrown as std::logic_error naming both.
    int requiredAttributeIndex(const QString &name) const
    {
        const int i = attributeIndex(name);
        return i >= 0 ? i : unknownKey(name);
    }
    int requiredRelationshipIndex(const QString &name) const
    {
        const int i = relationshipIndex(name);
        return i >= 0 ? i : unknownKey(name);
    }
    [[noreturn]] int unknownKey(const QString &key) const;
    const AttributeDescription &attribute(int i) const { return m_attributes[size_t(i)]; }
    const RelationshipDescription &relationship(int i) const { return m_relationships[size_t(i)]; }

    void setIndex(int index) { m_index = index; }

private:
    QString m_name;
    int m_index = -1;
    std::vector<AttributeDescription> m_attributes;
    std::vector<RelationshipDescription> m_relationships;
    QHash<QString, int> m_attributeIndex;
    QHash<QString, int> m_relationshipIndex;
};
