#pragma once

#include "core/AppError.h"
#include "core/store/ManagedObjectModel.h"
#include "core/store/SqliteDatabase.h"

#include <QString>

#include <memory>
#include <vector>

class ManagedObject;
class ManagedObjectContext;

// Knows the store file and its schema. One table per entity (primary key Z_PK, one column per
// attribute, one per to-one relationship), one join table per many-to-many pair. The file is
// marked with our application id and the model's version: a file that is not SQLite, belongs to
// another program or was written by a newer model is reported and never written to; an older
// model's file gains the missing tables and columns. WAL journal, one transaction per save.
class PersistentStoreCoordinator
{
public:
    static constexpr int applicationID = 0x4B4C5652; // "KLVR"

    explicit PersistentStoreCoordinator(std::shared_ptr<const ManagedObjectModel> model);
    ~PersistentStoreCoordinator();

    bool addSQLiteStore(const QString &path, AppError *error);
    bool removeStore(AppError *error);
    bool hasStore() const { return m_database.isOpen(); }
    QString storePath() const { return m_path; }
    const ManagedObjectModel &model() const { return *m_model; }

    bool loadObjects(ManagedObjectContext &context, AppError *error);
    // Writes the given objects' changes in one transaction; nothing is written on failure.
    bool writeChanges(const std::vector<ManagedObject *> &changed, AppError *error);

    // Direct access for tests and benchmarks (SQL counts, simulated full disks).
    SqliteDatabase &database() { return m_database; }

private:
    struct JoinTable
    {
        QString name;
        const EntityDescription *owner;
        int ownerRelationship;
    };

    bool prepareSchema(bool fresh, AppError *error);
    bool createOrMigrate(AppError *error);
    AppError storeError(const QString &description, const QString &reason) const;
    QString displayPath() const;
    bool writeObject(ManagedObject *object);
    bool writeJoinRows(ManagedObject *object, bool replace);

    std::shared_ptr<const ManagedObjectModel> m_model;
    SqliteDatabase m_database;
    QString m_path;
    std::vector<JoinTable> m_joinTables;
};
