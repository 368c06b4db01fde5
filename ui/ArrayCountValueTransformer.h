#pragma once

#include "ui/ValueTransformer.h"

#include <QList>

class ManagedObject;

// The number of active tasks (not in the trash) among the members of a to-many relationship,
// such as a notebook's or a tag's tasks. Registered at start under "ArrayCountValueTransformer".
class ArrayCountValueTransformer : public ValueTransformer
{
public:
    static constexpr const char *name = "ArrayCountValueTransformer";

    // A set of objects (QList<ManagedObject *>) gives the number of its active tasks as a
    // 32-bit integer; anything else, an absent value included, gives 0.
    QVariant transformedValue(const QVariant &value) const override;

    // The relationship's members as transformedValue() takes them.
    static QVariant setValue(const QList<ManagedObject *> &objects);
};
