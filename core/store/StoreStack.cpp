#include "core/store/StoreStack.h"

#include "core/ErrorPresenter.h"
#include "core/Localized.h"
#include "core/Log.h"
#include "core/MainThread.h"
#include "core/OperationQueue.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNotebook.h"
#include "core/store/PersistentStoreCoordinator.h"
#include "core/store/SqliteDatabase.h"
#include "core/store/StoreLock.h"
#include "core/store/StoreProblem.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

StoreStack::StoreStack(const QString &folder, const QString &modelResource)
    : m_folder(folder.isEmpty() ? applicationSupportDirectory() : folder)
    , m_createUserDataFolder(folder.isEmpty())
    , m_modelResource(modelResource)
{
}

StoreStack::~StoreStack()
{
    m_context.reset();
    m_coordinator.reset();
}

QString StoreStack::applicationSupportDirectory()
{
    const QStringList locations = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    const QString base = locations.isEmpty() ? QDir::tempPath() : locations.first();
    return QDir(base).filePath(QStringLiteral("Kelvara"));
}

QString StoreStack::storePath() const
{
    return QDir(m_folder).filePath(QLatin1String(storeFileName));
}

QString StoreStack::backupPath() const
{
    return QDir(m_folder).filePath(QLatin1String(backupFileName));
}

std::shared_ptr<const ManagedObjectModel> StoreStack::managedObjectModel()
{
    if (!m_model)
        m_model = ManagedObjectModel::load(m_modelResource);
    return m_model;
}

PersistentStoreCoordinator *StoreStack::persistentStoreCoordinator()
{
    if (m_storeOpen)
        return m_coordinator.get();

    auto model = managedObjectModel();
    if (!model) {
        ErrorPresenter::present(AppError{QStringLiteral("KelvaraStore"), 0, QStringLiteral("Managed object model is nil"), {}, {}});
        Log::line(QStringLiteral("%@:%s No model to generate a store from"),
                  {QStringLiteral("StoreStack"), QStringLiteral("persistentStoreCoordinator")});
        return nullptr;
    }

    // The user's data folder (~/.local/share) is the desktop's to have, but a fresh account may
    // not have it yet, and it is to be created when first needed.
    if (m_createUserDataFolder)
        QDir().mkpath(QFileInfo(m_folder).path());
    if (!QFileInfo(m_folder).isDir()) {
        // Only the last component: a missing parent means the user's folders are not there.
        std::error_code ec;
        std::filesystem::create_directory(std::filesystem::path(QFile::encodeName(m_folder).toStdString()), ec);
        if (ec || !QFileInfo(m_folder).isDir()) {
            const QString reason = ec ? QString::fromStdString(ec.message()) : QStringLiteral("not a folder");
            ErrorPresenter::present(AppError{QStringLiteral("KelvaraStore"), ec.value(),
                                             QStringLiteral("Failed to create App Support directory %1 : %2").arg(m_folder, reason),
                                             {}, {}});
            Log::line(QStringLiteral("Error creating application support directory at %@ : %@"), {m_folder, reason});
            return nullptr;
        }
    }

    // Two processes writing one store lose each other's edits: the second is refused before it
    // reads anything.
    if (!m_lock) {
        qint64 holder = 0;
        m_lock = StoreLock::acquire(storePath(), &holder);
        m_inUseElsewhere = !m_lock;
        if (!m_lock) {
            Log::line(QStringLiteral("The task store %@ is in use by process %lld"), {storePath(), holder});
            AppError error{QStringLiteral("KelvaraStore"), StoreProblem::inUseCode,
                           Localized::format(QStringLiteral("STORE_OPEN_FAILED"), {storePath()}), {}, {}};
            StoreProblem::explain(error, storePath(), backupPath(), QString(), false);
            ErrorPresenter::present(error);
            return nullptr;
        }
    }
    if (!m_coordinator) {
        m_coordinator = std::make_unique<PersistentStoreCoordinator>(model);
        m_coordinator->setBackupPath(backupPath());
    }
    AppError error;
    if (!m_coordinator->addSQLiteStore(storePath(), &error)) {
        ErrorPresenter::present(error);
        return nullptr;
    }
    m_storeOpen = true;
    // The user can go on working; what they change stays in memory until the store can be
    // written, and they should know that before they start.
    if (m_coordinator->isReadOnly())
        ErrorPresenter::present(m_coordinator->readOnlyError());
    return m_coordinator.get();
}

ManagedObjectContext *StoreStack::managedObjectContext()
{
    if (m_context)
        return m_context.get();
    PersistentStoreCoordinator *coordinator = persistentStoreCoordinator();
    if (!coordinator) {
        ErrorPresenter::present(AppError{QStringLiteral("YOUR_ERROR_DOMAIN"), 9999, QStringLiteral("Failed to initialize the store"),
                                         QStringLiteral("There was an error building up the data file."), {}});
        return nullptr;
    }
    auto context = std::make_unique<ManagedObjectContext>(managedObjectModel(), coordinator);
    AppError error;
    if (!context->loadAll(&error)) {
        ErrorPresenter::present(error);
        return nullptr;
    }
    m_context = std::move(context);
    ensureOneNotebook();
    return m_context.get();
}

void StoreStack::ensureOneNotebook()
{
    if (m_context->count(QLatin1String(MyNotebook::entityName)) > 0)
        return;
    // Part of creating the store, not a user action: nothing to undo.
    m_context->undoManager()->disableUndoRegistration();
    MyNotebook *notebook = m_context->insert<MyNotebook>();
    notebook->setName(Localized::string(QStringLiteral("MY_NOTEBOOK")));
    m_context->undoManager()->enableUndoRegistration();
}

bool StoreStack::saveAction()
{
    Log::line(QStringLiteral("Saving data"));
    if (!m_context)
        return false;
    if (!m_context->commitEditing())
        Log::line(QStringLiteral("%@:%s unable to commit editing before saving"),
                  {QStringLiteral("StoreStack"), QStringLiteral("saveAction")});
    AppError error;
    if (!m_context->save(&error)) {
        ErrorPresenter::present(error);
        return false;
    }
    return true;
}

void StoreStack::saveOnQueue(OperationQueue &queue)
{
    queue.addOperation([this] { blockingCallOnMainThread([this] { saveAction(); }); });
}

bool StoreStack::DeleteDatabase()
{
    if (!m_storeOpen || !m_coordinator)
        return false;
    AppError error;
    if (!m_coordinator->removeStore(&error))
        return false;
    m_storeOpen = false;
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        const QString path = storePath() + suffix;
        if (QFile::exists(path) && !QFile::remove(path) && suffix.isEmpty()) {
            // Keep working on the store we could not delete.
            m_storeOpen = m_coordinator->addSQLiteStore(storePath(), &error);
            return false;
        }
    }
    m_storeOpen = m_coordinator->addSQLiteStore(storePath(), &error);
    // The objects of the wiped store must not be written into the new one.
    if (m_context) {
        m_context->reset();
        if (m_storeOpen)
            ensureOneNotebook();
    }
    return true;
}

void StoreStack::createDataBaseBackup()
{
    if (QFile::exists(backupPath()))
        return;
    // With the store open its latest changes may still sit in the journal: copy through SQLite
    // so that the backup is complete and consistent.
    if (m_storeOpen && m_coordinator) {
        SqliteDatabase &db = m_coordinator->database();
        QString target = backupPath();
        db.exec(QStringLiteral("VACUUM INTO '%1'").arg(target.replace(u'\'', QStringLiteral("''"))));
        return;
    }
    QFile::copy(storePath(), backupPath());
}
