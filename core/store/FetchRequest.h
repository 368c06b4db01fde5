#pragma once

#include "core/store/Predicate.h"
#include "core/store/SortDescriptor.h"

#include <QString>

#include <vector>

// What to fetch: the objects of an entity that match a predicate (and a second one, as a list
// narrows its content by a filter), in the order of the sort descriptors (insertion order when
// there are none).
struct FetchRequest
{
    QString entityName;
    Predicate predicate;
    std::vector<SortDescriptor> sortDescriptors;
    Predicate filterPredicate;
};
