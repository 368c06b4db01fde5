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
    for (const ManagedObject *object : value.value<QList<ManagedObject *>>()) {
        // Only tasks have `active`; a member of any other kind is not an active task.
        if (object && object->entity().attributeIndex(QStringLiteral("active")) >= 0 && active.evaluate(object))
            ++count;
    }
    return count;
}
