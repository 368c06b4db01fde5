#include "core/store/EntityClasses.h"

#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"

std::unique_ptr<ManagedObject> EntityClasses::create(const EntityDescription *entity, ManagedObjectContext *context,
                                                     EntityTable *table)
{
    const QString &name = entity->name();
    if (name == QLatin1String(MyNote::entityName))
        return std::make_unique<MyNote>(entity, context, table);
    if (name == QLatin1String(MyNotebook::entityName))
        return std::make_unique<MyNotebook>(entity, context, table);
    if (name == QLatin1String(MyTag::entityName))
        return std::make_unique<MyTag>(entity, context, table);
    return std::make_unique<ManagedObject>(entity, context, table);
}

void EntityClasses::awakeFromInsert(ManagedObject *object)
{
    if (auto *note = dynamic_cast<MyNote *>(object))
        note->awakeFromInsert();
    else if (auto *notebook = dynamic_cast<MyNotebook *>(object))
        notebook->awakeFromInsert();
    else if (auto *tag = dynamic_cast<MyTag *>(object))
        tag->awakeFromInsert();
}
