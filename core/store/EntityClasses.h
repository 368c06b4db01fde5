#pragma once

#include <memory>

class EntityDescription;
class ManagedObject;
class ManagedObjectContext;
struct EntityTable;

// Which class stands for which entity, and the insert defaults each runs.
class EntityClasses
{
public:
    static std::unique_ptr<ManagedObject> create(const EntityDescription *entity, ManagedObjectContext *context,
                                                 EntityTable *table);
    static void awakeFromInsert(ManagedObject *object);

    EntityClasses() = delete;
};
