#include "sync/GuidIndex.h"

#include "core/store/ManagedObjectContext.h"

GuidIndex::GuidIndex(ManagedObjectContext &context, const char *entityName)
    : m_context(context)
    , m_entityName(QString::fromLatin1(entityName))
{
}

QList<ManagedObject *> GuidIndex::objects() const
{
    return m_context.fetch(m_entityName);
}

void GuidIndex::index(const QList<ManagedObject *> &objects, qsizetype begin, qsizetype end)
{
    const int guid = m_context.model().entity(m_entityName)->requiredAttributeIndex(QStringLiteral("guid"));
    m_objects.reserve(objects.size());
    for (qsizetype i = begin; i < end; ++i) {
        ManagedObject *object = objects[i];
        const QString key = object->slot(guid).toString();
        if (!key.isEmpty() && !m_objects.contains(key))
            m_objects.insert(key, object);
    }
}

void GuidIndex::build()
{
    const QList<ManagedObject *> all = objects();
    index(all, 0, all.size());
    finish();
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
