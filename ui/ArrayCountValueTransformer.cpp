#include "ui/ArrayCountValueTransformer.h"

#include "core/store/ManagedObject.h"
#include "core/store/Predicate.h"

QVariant ArrayCountValueTransformer::setValue(const QList<ManagedObject *> &objects)
{
    return QVariant::fromValue(objects);
}

QVariant ArrayCountValueTransformer::transformedValue(const QVariant &value) const
{
    if (value.metaType() != QMetaType::fromType<QList<ManagedObject *>>())
        return qint32(0);
    static const Predicate active = Predicate::withFormat(QStringLiteral("SELF.active == 1"));
    qint32 count = 0;
    // Members are nearly always of one entity: whether it has `active` is looked up once per run.
    const EntityDescription *entity = nullptr;
    bool hasActive = false;
    for (const ManagedObject *object : *static_cast<const QList<ManagedObject *> *>(value.constData())) {
        if (!object)
            continue;
        if (&object->entity() != entity) {
            entity = &object->entity();
            hasActive = entity->attributeIndex(QStringLiteral("active")) >= 0;
        }
        // Only tasks have `active`; a member of any other kind is not an active task.
        if (hasActive && active.evaluate(object))
            ++count;
    }
    return count;
}
