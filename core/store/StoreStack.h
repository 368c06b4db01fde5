#pragma once

#include "core/store/ManagedObjectModel.h"

#include <QString>

#include <memory>

class ManagedObjectContext;
class OperationQueue;
class PersistentStoreCoordinator;
class StoreLock;

// The store operations the application delegate offers: the store folder, the lazily built
// model, coordinator and context, saving, wiping and the one-time backup. Errors are presented
// through the installed ErrorPresenter; a store that cannot be opened leaves the application
// running without one, and the next call tries again. While the store is open no other
// process can open it (StoreLock). Main thread only.
class StoreStack
{
public:
    static constexpr const char *storeFileName = "storedata";
    static constexpr const char *backupFileName = "storedatabkv1";

    // An empty folder means applicationSupportDirectory(); then the user's data folder itself
    // is created when it is missing, as a fresh account may not have it yet.
    explicit StoreStack(const QString &folder = QString(),
                        const QString &modelResource = QString::fromLatin1(ManagedObjectModel::defaultResource));
    ~StoreStack();

    // The first of the user's data folders (~/.local/share), or the temporary folder, + "Kelvara".
    static QString applicationSupportDirectory();
    QString folder() const { return m_folder; }
    QString storePath() const;
    QString backupPath() const;

    std::shared_ptr<const ManagedObjectModel> managedObjectModel();
    PersistentStoreCoordinator *persistentStoreCoordinator(); // nullptr while unopened
    ManagedObjectContext *managedObjectContext();             // nullptr without a store
    // The last try to open the store found another process using it.
    bool inUseElsewhere() const { return m_inUseElsewhere; }

    bool saveAction();
    // Queues a save on the queue; the save itself runs on the main thread.
    void saveOnQueue(OperationQueue &queue);
    bool DeleteDatabase();
    void createDataBaseBackup();

private:
    void ensureOneNotebook();

    QString m_folder;
    bool m_createUserDataFolder;
    QString m_modelResource;
    std::shared_ptr<const ManagedObjectModel> m_model;
    std::shared_ptr<StoreLock> m_lock; // outlives the coordinator's connection
    bool m_inUseElsewhere = false;
    std::unique_ptr<PersistentStoreCoordinator> m_coordinator;
    bool m_storeOpen = false;
    std::unique_ptr<ManagedObjectContext> m_context;
};
