#include "sync/GuidIndex.h"

#include "core/store/ManagedObjectContext.h"

GuidIndex::GuidIndex(ManagedObjectContext &context, const char *entityName)
    : m_context(context)
    , m_entityName(QString::fromLatin1(entityName))
{
}

void GuidIndex::build()
{
    const int guid = m_context.model().entity(m_entityName)->requiredAttributeIndex(QStringLiteral("guid"));
    const QList<ManagedObject *> objects = m_context.fetch(m_entityName);
    m_objects.reserve(objects.size());
    for (ManagedObject *object : objects) {
        const QString key = object->slot(guid).toString();
        if (!key.isEmpty() && !m_objects.contains(key))
            m_objects.insert(key, object);
    }
    m_built = true;
}

ManagedObject *GuidIndex::find(const QString &guid)
{
    if (guid.isEmpty())
        return nullptr;
    if (!m_built)
        build();
    ManagedObject *object = m_objects.value(guid);
    if (object && object->isDeleted()) {
        // Deleted by the user since; an undo may bring it back, so keep it in the index.
        return nullptr;
    }
    return object;
}

void GuidIndex::add(const QString &guid, ManagedObject *object)
{
    if (!m_built)
        build();
    if (!guid.isEmpty())
        m_objects.insert(guid, object);
}
