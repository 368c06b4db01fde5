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
//
// A store that can be read but not written (a file without write permission, a read-only
// disk) opens read-only and says so; a save after a failed one, or on a read-only connection,
// opens the file again first, so that mending the cause is enough for the next save to work.
// Errors name their cause and the way on (StoreProblem).
class PersistentStoreCoordinator
{
public:
    static constexpr int applicationID = 0x4B4C5652; // "KLVR"

    explicit PersistentStoreCoordinator(std::shared_ptr<const ManagedObjectModel> model);
    ~PersistentStoreCoordinator();

    // `mayCreate`: a missing file becomes a new, empty store.
    bool addSQLiteStore(const QString &path, AppError *error, bool mayCreate = true);
    bool removeStore(AppError *error);
    // Open, but every write would fail: the application tells the user at launch.
    bool isReadOnly() const { return m_database.isOpen() && m_database.isReadOnly(); }
    // The error that tells the user why the open store cannot be written and what to do.
    AppError readOnlyError() const;
    // The one-time backup, named in the message about a damaged store.
    void setBackupPath(const QString &path) { m_backupPath = path; }
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

    bool createOrMigrate(AppError *error);
    AppError storeError(const QString &description, int code, const QString &detail, bool saving) const;
    QString displayPath() const;
    // Closes the connection, removing the journal files a read-only one leaves behind.
    void closeDatabase();
    bool reopenForWriting(AppError *error);
    bool writeObject(ManagedObject *object);
    bool writeJoinRows(ManagedObject *object, bool replace);

    std::shared_ptr<const ManagedObjectModel> m_model;
    SqliteDatabase m_database;
    QString m_path;
    QString m_backupPath;
    std::vector<JoinTable> m_joinTables;
    bool m_lastWriteFailed = false;
};
