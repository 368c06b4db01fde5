#pragma once

#include <QHash>
#include <QString>

class ManagedObject;
class ManagedObjectContext;

// The objects of one entity by their service guid, for a run that looks up thousands of
// service objects in a store of tens of thousands: one pass over the entity instead of a scan
// per lookup. Only a run gives objects a guid (the user's edits never change one), so the index
// stays true for the run's life as long as the run tells it of the guids it writes; objects the
// user deletes meanwhile are skipped at lookup. Main thread only, like the store.
class GuidIndex
{
public:
    GuidIndex(ManagedObjectContext &context, const char *entityName);

    // The live object with that guid, or nullptr; the first one the store holds, as a fetch
    // with "guid like %@" would find.
    ManagedObject *find(const QString &guid);
    void add(const QString &guid, ManagedObject *object);

    // Building it over tens of thousands of objects takes longer than a hop may: a run takes
    // the entity's objects in one hop (objects(); they are never freed while the store is
    // open), indexes them in slices, one hop each, and then calls finish().
    QList<ManagedObject *> objects() const;
    void index(const QList<ManagedObject *> &objects, qsizetype begin, qsizetype end);
    void finish() { m_built = true; }

private:
    void build();

    ManagedObjectContext &m_context;
    QString m_entityName;
    bool m_built = false;
    QHash<QString, ManagedObject *> m_objects;
};
