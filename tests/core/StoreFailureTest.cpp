#include "core/NotificationCenter.h"
#include "core/OperationQueue.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/PersistentStoreCoordinator.h"
#include "core/store/SqliteDatabase.h"
#include "tests/support/LogCapture.h"
#include "tests/support/RecordingErrorPresenter.h"
#include "tests/support/TempStore.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QThread>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace {
QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

TEST(StoreFailureTest, AFileThatIsNotOursIsReportedAndLeftUntouched)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Kelvara"));
    const QString path = QDir(folder).filePath(QStringLiteral("storedata"));

    // Not SQLite at all.
    writeFile(path, QByteArray("These are my private notes, not a database.\n").repeated(200));
    const QByteArray before = digest(path);
    {
        RecordingErrorPresenter errors;
        StoreStack stack(folder);
        EXPECT_EQ(stack.managedObjectContext(), nullptr) << "the application runs without a store";
        ASSERT_GE(errors.errors().size(), 2);
        EXPECT_TRUE(errors.errors().first().description.contains(path));
        EXPECT_EQ(errors.errors().last().domain, QStringLiteral("YOUR_ERROR_DOMAIN"));
        EXPECT_EQ(errors.errors().last().code, 9999);
        EXPECT_EQ(errors.errors().last().description, QStringLiteral("Failed to initialize the store"));
        EXPECT_EQ(errors.errors().last().failureReason, QStringLiteral("There was an error building up the data file."));
        EXPECT_FALSE(stack.DeleteDatabase()) << "a store that never opened is not wiped";
    }
    EXPECT_EQ(digest(path), before);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));

    // Another program's SQLite database.
    QFile::remove(path);
    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
        sqlite3_exec(db, "CREATE TABLE recipes(name TEXT); INSERT INTO recipes VALUES('soup');", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    const QByteArray foreign = digest(path);
    {
        RecordingErrorPresenter errors;
        StoreStack stack(folder);
        EXPECT_EQ(stack.managedObjectContext(), nullptr);
        EXPECT_FALSE(errors.errors().isEmpty());
    }
    EXPECT_EQ(digest(path), foreign);
}

TEST(StoreFailureTest, AStoreFromANewerVersionIsRefusedAndAnOlderOneMigrates)
{
    TempStore store;
    store.task(QStringLiteral("kept"));
    store.save();
    const QString path = store.stack().storePath();
    store.stack().persistentStoreCoordinator()->database().exec(QStringLiteral("PRAGMA user_version=99"));
    store.stack().persistentStoreCoordinator()->database().exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    {
        RecordingErrorPresenter errors;
        StoreStack newer(store.folder());
        EXPECT_EQ(newer.managedObjectContext(), nullptr);
        ASSERT_FALSE(errors.errors().isEmpty());
        EXPECT_TRUE(errors.errors().first().failureReason.contains(QStringLiteral("99")));
    }

    // An older schema (a column this version added is missing) gains it with its default.
    auto &db = store.stack().persistentStoreCoordinator()->database();
    ASSERT_TRUE(db.exec(QStringLiteral("ALTER TABLE MyNote DROP COLUMN color")));
    ASSERT_TRUE(db.exec(QStringLiteral("PRAGMA user_version=0")));
    StoreStack older(store.folder());
    ASSERT_NE(older.managedObjectContext(), nullptr);
    const auto tasks = older.managedObjectContext()->fetch(QStringLiteral("MyNote"));
    ASSERT_EQ(tasks.size(), 1);
    EXPECT_EQ(static_cast<MyNote *>(tasks.first())->title(), QStringLiteral("kept"));
    EXPECT_EQ(tasks.first()->value(QStringLiteral("color")).toInt(), 0);
    EXPECT_EQ(older.persistentStoreCoordinator()->database().scalar(QStringLiteral("PRAGMA user_version")).toInt(),
              older.managedObjectModel()->version());
}

TEST(StoreFailureTest, AFolderThatCannotBeCreatedIsReportedWithItsTexts)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("missing-parent/Kelvara"));
    RecordingErrorPresenter errors;
    LogCapture log;
    StoreStack stack(folder);
    EXPECT_EQ(stack.persistentStoreCoordinator(), nullptr);
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("missing-parent"))).exists()) << "parents are not created";
    ASSERT_FALSE(errors.errors().isEmpty());
    EXPECT_TRUE(errors.errors().first().description.startsWith(
        QStringLiteral("Failed to create App Support directory %1 : ").arg(folder)));
    bool logged = false;
    for (const QString &line : log.lines())
        logged = logged || line.startsWith(QStringLiteral("Error creating application support directory at %1 : ").arg(folder));
    EXPECT_TRUE(logged);

    // The model missing is reported too.
    RecordingErrorPresenter modelErrors;
    StoreStack noModel(dir.filePath(QStringLiteral("Kelvara")), QStringLiteral(":/model/missing.json"));
    EXPECT_EQ(noModel.persistentStoreCoordinator(), nullptr);
    EXPECT_EQ(modelErrors.errors().first().description, QStringLiteral("Managed object model is nil"));
    EXPECT_TRUE(log.contains(QStringLiteral("StoreStack:persistentStoreCoordinator No model to generate a store from")));
}

TEST(StoreFailureTest, AFailedSaveKeepsEveryChangeAndALaterSaveWritesThemAll)
{
    TempStore store;
    store.save();
    auto &db = store.stack().persistentStoreCoordinator()->database();
    MyNote *edited = store.task(QStringLiteral("edited"));
    store.save();

    // A full disk: the file may not grow.
    const qint64 pages = db.scalar(QStringLiteral("PRAGMA page_count")).toLongLong();
    ASSERT_TRUE(db.exec(QStringLiteral("PRAGMA max_page_count=%1").arg(pages)));
    edited->setTitle(QStringLiteral("edited twice"));
    QString big(200000, u'x');
    for (int i = 0; i < 20; ++i)
        store.task(QStringLiteral("new %1").arg(i))->setContent(big);
    {
        RecordingErrorPresenter errors;
        EXPECT_FALSE(store.stack().saveAction());
        ASSERT_EQ(errors.errors().size(), 1);
        EXPECT_FALSE(errors.errors().first().failureReason.isEmpty());
    }
    EXPECT_TRUE(store.context().hasChanges());

    // A read-only store.
    ASSERT_TRUE(db.exec(QStringLiteral("PRAGMA max_page_count=1073741823")));
    ASSERT_TRUE(db.exec(QStringLiteral("PRAGMA query_only=1")));
    {
        RecordingErrorPresenter errors;
        EXPECT_FALSE(store.stack().saveAction());
        EXPECT_EQ(errors.errors().size(), 1);
    }
    ASSERT_TRUE(db.exec(QStringLiteral("PRAGMA query_only=0")));
    EXPECT_TRUE(store.stack().saveAction());
    EXPECT_FALSE(store.context().hasChanges());

    store.reopen();
    EXPECT_EQ(store.context().count(QStringLiteral("MyNote")), 21);
    EXPECT_EQ(store.context().count(QStringLiteral("MyNote"), Predicate::withFormat(QStringLiteral("title == \"edited twice\""))), 1);
}

TEST(StoreFailureTest, SavesRequestedThroughTheQueueRunOnTheMainThread)
{
    TempStore store;
    OperationQueue queue;
    const auto id = NotificationCenter::defaultCenter().addObserver(
        &queue, QStringLiteral("saveDataToDisk"), [&](const Notification &) { store.stack().saveOnQueue(queue); });
    bool savedOnMain = false;
    QObject::connect(&store.context(), &ManagedObjectContext::didSave, &store.context(),
                     [&] { savedOnMain = QThread::currentThread() == QCoreApplication::instance()->thread(); });
    store.task(QStringLiteral("queued"));
    LogCapture log;
    NotificationCenter::defaultCenter().post(QStringLiteral("saveDataToDisk"));
    queue.waitUntilAllOperationsAreFinished();
    NotificationCenter::defaultCenter().removeObserver(id);
    EXPECT_TRUE(savedOnMain);
    EXPECT_TRUE(log.contains(QStringLiteral("Saving data")));
    EXPECT_FALSE(store.context().hasChanges());
}

TEST(StoreFailureTest, BackupIsMadeOnceAndTheWipeLeavesAFreshStore)
{
    TempStore store;
    EXPECT_FALSE(StoreStack(store.folder()).DeleteDatabase()) << "never opened: nothing is wiped";
    store.task(QStringLiteral("before backup"));
    store.save();
    store.stack().createDataBaseBackup();
    ASSERT_TRUE(QFile::exists(store.stack().backupPath()));
    const QByteArray first = digest(store.stack().backupPath());
    store.task(QStringLiteral("after backup"));
    store.save();
    store.stack().createDataBaseBackup();
    EXPECT_EQ(digest(store.stack().backupPath()), first) << "the backup is never refreshed";
    {
        // The backup is a complete store of its own, even though the last changes were still in the journal.
        QTemporaryDir other;
        QDir().mkpath(other.filePath(QStringLiteral("Kelvara")));
        QFile::copy(store.stack().backupPath(), other.filePath(QStringLiteral("Kelvara/storedata")));
        StoreStack restored(other.filePath(QStringLiteral("Kelvara")));
        ASSERT_NE(restored.managedObjectContext(), nullptr);
        EXPECT_EQ(restored.managedObjectContext()->count(QStringLiteral("MyNote")), 1);
    }

    MyNote *stale = store.task(QStringLiteral("unsaved"));
    EXPECT_TRUE(store.stack().DeleteDatabase());
    ManagedObjectContext &c = store.context();
    EXPECT_EQ(c.count(QStringLiteral("MyNote")), 0);
    EXPECT_EQ(c.count(QStringLiteral("MyNotebook")), 1) << "a wiped store starts like a fresh one";
    EXPECT_TRUE(stale->isDeleted());
    store.save();
    store.reopen();
    EXPECT_EQ(store.context().count(QStringLiteral("MyNote")), 0);
    EXPECT_EQ(store.context().count(QStringLiteral("MyNotebook")), 1);
}

TEST(StoreFailureTest, AFreshAccountWithoutADataFolderGetsOne)
{
    // The test main points XDG_DATA_HOME at a folder that does not exist yet.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    QDir(base).removeRecursively();
    RecordingErrorPresenter errors;
    StoreStack stack;
    ASSERT_NE(stack.managedObjectContext(), nullptr);
    EXPECT_TRUE(errors.errors().isEmpty());
    EXPECT_EQ(stack.folder(), QDir(base).filePath(QStringLiteral("Kelvara")));
    EXPECT_TRUE(QFile::exists(stack.storePath()));
}
