#pragma once

#include "core/store/EntityDescription.h"

#include <QStringList>
#include <QVariant>

#include <vector>

class ManagedObject;

// A dotted key path ("notebook.hide", "tags.name", "SELF.active") resolved against an entity
// into relationship and attribute indexes, so that evaluating it costs no name lookups.
class KeyPath
{
public:
    struct Step
    {
        int relationship;
        bool toMany;
    };

    KeyPath() = default;
    // Throws std::invalid_argument for a key the entity does not have.
    static KeyPath resolve(const EntityDescription &entity, const QString &path);

    const std::vector<Step> &steps() const { return m_steps; }
    int attribute() const { return m_attribute; }       // -1 when the path ends in a to-one
    int finalRelationship() const { return m_finalRelationship; }

    // For paths through to-one relationships only: the object holding the final key, or
    // nullptr when a relationship on the way is empty.
    const ManagedObject *holder(const ManagedObject *object) const;
    // The final value in slot form (ManagedObject* for a to-one), invalid when absent.
    QVariant slotValue(const ManagedObject *object) const;

private:
    std::vector<Step> m_steps;
    int m_attribute = -1;
    int m_finalRelationship = -1;
};
