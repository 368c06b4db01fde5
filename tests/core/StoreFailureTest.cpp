#include "core/OperationQueue.h"
#include "core/store/PersistentStoreCoordinator.h"
#include "tests/support/DiesWithParent.h"
#include "tests/support/RecordingErrorPresenter.h"
#include "tests/support/TempStore.h"
#include "tests/support/Unprivileged.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <functional>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QByteArray digest(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

AppError firstError(const RecordingErrorPresenter &errors)
{
    EXPECT_FALSE(errors.errors().isEmpty());
    return errors.errors().value(0);
}

// How many tasks the store in `folder` opens with, or -1 when it does not open.
qsizetype tasksIn(const QString &folder)
{
    StoreStack stack(folder);
    return stack.managedObjectContext() ? stack.managedObjectContext()->count(QStringLiteral("MyNote")) : -1;
}

// A store of `tasks` tasks saved and closed in `folder`; its file's path.
QString savedStore(const QString &folder, int tasks)
{
    StoreStack stack(folder);
    ManagedObjectContext *context = stack.managedObjectContext();
    EXPECT_NE(context, nullptr);
    for (int i = 0; context && i < tasks; ++i)
        context->insert<MyNote>()->setTitle(QStringLiteral("task %1").arg(i));
    EXPECT_TRUE(stack.saveAction());
    return stack.storePath();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Another process, dying with this one, that runs `body` with the writing end of a pipe whose
// reading end is `*fromChild`.
pid_t startChild(const std::function<void(int)> &body, int *fromChild)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        dieWithParent();
        ::close(fds[0]);
        body(fds[1]);
        _exit(0);
    }
    ::close(fds[1]);
    *fromChild = fds[0];
    return child;
}

void killChild(pid_t child)
{
    ::kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself with " << WEXITSTATUS(status);
}

// What the saving child tells the parent: a save's transaction begins to commit, or the save returned.
struct Event
{
    enum Kind : qint32 { Committing, Returned } kind;
    qint32 generation;
};

int g_events = -1;
qint32 g_generation = 0;

bool tell(Event::Kind kind)
{
    const Event event{kind, g_generation};
    return write(g_events, &event, sizeof event) == sizeof event;
}

// SQLite calls it before the transaction's pages are written: a kill that follows lands in the
// middle of the writes to the journal and their flush.
int committing(void *) { return tell(Event::Committing) ? 0 : 1; }

// Every save rewrites every task with the next generation number and adds one more task, so a
// store that was saved whole has exactly `generation` tasks, all alike.
void saveForever(const QString &folder, int events)
{
    g_events = events;
    StoreStack stack(folder);
    ManagedObjectContext *context = stack.managedObjectContext();
    if (!context)
        _exit(3);
    sqlite3_commit_hook(stack.persistentStoreCoordinator()->database().handle(), committing, nullptr);
    context->undoManager()->disableUndoRegistration();
    for (;;) {
        const auto tasks = context->fetch(QStringLiteral("MyNote"));
        g_generation = qint32(tasks.size()) + 1;
        const QString title = QString::number(g_generation);
        for (ManagedObject *o : tasks)
            static_cast<MyNote *>(o)->setTitle(title);
        auto *added = context->insert<MyNote>();
        added->setTitle(title);
        added->setContent(QString(4000, u'k'));
        AppError error;
        if (!context->save(&error) || !tell(Event::Returned))
            _exit(4);
    }
}
} // namespace

TEST(StoreFailureTest, AFileThatIsNotOursIsReportedAndLeftUntouched)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Kelvara"));
    const QString path = QDir(folder).filePath(QStringLiteral("storedata"));
    // Not SQLite at all, then another program's SQLite database.
    writeFile(path, QByteArray("These are my private notes, not a database.\n").repeated(200));
    for (const bool sqlite : {false, true}) {
        if (sqlite) {
            QFile::remove(path);
            sqlite3 *db = nullptr;
            ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
            sqlite3_exec(db, "CREATE TABLE recipes(name TEXT); INSERT INTO recipes VALUES('soup');", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        }
        const QByteArray before = digest(path);
        {
            RecordingErrorPresenter errors;
            StoreStack stack(folder);
            EXPECT_EQ(stack.managedObjectContext(), nullptr) << "the application runs without a store";
            EXPECT_TRUE(firstError(errors).description.contains(path));
            EXPECT_FALSE(stack.DeleteDatabase()) << "a store that never opened is not wiped";
        }
        EXPECT_EQ(digest(path), before);
        EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
    }
}

TEST(StoreFailureTest, ADamagedStoreNamesItsBackupAndHowToUseIt)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Kelvara"));
    const QString path = savedStore(folder, 200);
    const QString backup = QDir(folder).filePath(QStringLiteral("storedatabkv1"));
    StoreStack(folder).createDataBaseBackup();
    // Broken pages in the middle of the file: the header still reads as a database.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.size() > 8 * 4096 && f.seek(4096));
    f.write(QByteArray(6 * 4096, '\x5a'));
    f.close();
    {
        RecordingErrorPresenter errors;
        EXPECT_EQ(tasksIn(folder), -1);
        EXPECT_TRUE(firstError(errors).recoverySuggestion.contains(backup));
    }
    // Doing what the message says brings the tasks back.
    ASSERT_TRUE(QFile::rename(path, path + QStringLiteral(".damaged")));
    ASSERT_TRUE(QFile::copy(backup, path));
    EXPECT_EQ(tasksIn(folder), 200);
}

TEST(StoreFailureTest, AStoreFromANewerVersionIsRefusedAndAnOlderOneMigrates)
{
    TempStore store;
    store.task(QStringLiteral("kept"));
    store.save();
    auto &db = store.stack().persistentStoreCoordinator()->database();
    db.exec(QStringLiteral("PRAGMA user_version=99"));
    db.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    {
        RecordingErrorPresenter errors;
        EXPECT_EQ(tasksIn(store.folder()), -1);
        EXPECT_TRUE(firstError(errors).failureReason.contains(QStringLiteral("99")));
    }

    // An older schema (a column this version added is missing) gains it with its default.
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

TEST(StoreFailureTest, AFreshAccountGetsItsDataFolder)
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

TEST(StoreFailureTest, AFailedSaveIsReportedOnceAndKeepsEveryChangeForTheNext)
{
    TempStore store;
    MyNote *edited = store.task(QStringLiteral("edited"));
    store.save();

    // A full disk: the file may not grow.
    auto &db = store.stack().persistentStoreCoordinator()->database();
    ASSERT_TRUE(db.exec(QStringLiteral("PRAGMA max_page_count=%1").arg(db.scalar(QStringLiteral("PRAGMA page_count")).toLongLong())));
    edited->setTitle(QStringLiteral("edited twice"));
    for (int i = 0; i < 20; ++i)
        store.task(QStringLiteral("new %1").arg(i))->setContent(QString(200000, u'x'));
    {
        RecordingErrorPresenter errors;
        EXPECT_FALSE(store.stack().saveAction());
        EXPECT_EQ(errors.errors().size(), 1);
    }
    EXPECT_TRUE(store.context().hasChanges());

    // The next save opens the store afresh, as it would once space was freed, and writes it all.
    EXPECT_TRUE(store.stack().saveAction());
    EXPECT_FALSE(store.context().hasChanges());
    store.reopen();
    EXPECT_EQ(store.context().count(QStringLiteral("MyNote")), 21);
    EXPECT_EQ(store.context().count(QStringLiteral("MyNote"), Predicate::withFormat(QStringLiteral("title == \"edited twice\""))), 1);
}

// File permissions are what these tests are about: they run as an ordinary user.
class UnwritableStoreTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_asUser.active()); }

    Unprivileged m_asUser;
    QTemporaryDir m_dir;
    const QString folder = m_dir.filePath(QStringLiteral("Kelvara"));
};

TEST_F(UnwritableStoreTest, AReadOnlyStoreOpensWarnsAndSavesOnceItsPermissionIsGivenBack)
{
    const QString path = savedStore(folder, 1);
    const auto writable = QFile::permissions(path);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    {
        RecordingErrorPresenter errors;
        StoreStack stack(folder);
        ManagedObjectContext *context = stack.managedObjectContext();
        ASSERT_NE(context, nullptr) << "a store that can be read opens";
        EXPECT_EQ(context->count(QStringLiteral("MyNote")), 1);
        EXPECT_EQ(errors.errors().size(), 1) << "the user is told at once";

        context->insert<MyNote>()->setTitle(QStringLiteral("written while read-only"));
        EXPECT_FALSE(stack.saveAction());
        EXPECT_FALSE(stack.saveAction());
        EXPECT_EQ(errors.errors().size(), 3);
        EXPECT_TRUE(context->hasChanges());

        // Mending the permission is all it takes, and what the read-only time left behind does
        // not keep the store unwritable.
        ASSERT_TRUE(QFile::setPermissions(path, writable));
        EXPECT_TRUE(stack.saveAction());
        EXPECT_EQ(errors.errors().size(), 3);
        EXPECT_FALSE(context->hasChanges());
    }
    EXPECT_EQ(tasksIn(folder), 2);
}

TEST_F(UnwritableStoreTest, AFolderWithoutWritePermissionIsReportedAndTheNextCallTriesAgain)
{
    savedStore(folder, 1);
    const auto writable = QFile::permissions(folder);
    // A store in WAL mode cannot even be read without making its index file beside it.
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    RecordingErrorPresenter errors;
    StoreStack stack(folder);
    EXPECT_EQ(stack.managedObjectContext(), nullptr);
    EXPECT_FALSE(errors.errors().isEmpty());

    ASSERT_TRUE(QFile::setPermissions(folder, writable));
    ASSERT_NE(stack.managedObjectContext(), nullptr) << "the next call that needs the store opens it";
    EXPECT_EQ(stack.managedObjectContext()->count(QStringLiteral("MyNote")), 1);
}

TEST_F(UnwritableStoreTest, JournalFilesLeftReadOnlyDoNotKeepTheStoreUnwritable)
{
    const QString path = savedStore(folder, 0);
    // A session on the read-only store, closed: it leaves nothing behind.
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner));
    {
        RecordingErrorPresenter errors;
        EXPECT_EQ(tasksIn(folder), 0);
    }
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-shm")));

    // Journal files made read-only by a program that does not tidy up (an older Kelvara, the
    // sqlite3 tool) are made writable again with the store.
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    for (const char *suffix : {"-wal", "-shm"}) {
        writeFile(path + QLatin1String(suffix), QByteArray(suffix[1] == 's' ? 32768 : 0, '\0'));
        ASSERT_TRUE(QFile::setPermissions(path + QLatin1String(suffix), QFile::ReadOwner));
    }
    RecordingErrorPresenter errors;
    StoreStack stack(folder);
    ASSERT_NE(stack.managedObjectContext(), nullptr);
    stack.managedObjectContext()->insert<MyNote>()->setTitle(QStringLiteral("saved"));
    EXPECT_TRUE(stack.saveAction());
    EXPECT_TRUE(errors.errors().isEmpty());
}

TEST(StoreFailureTest, SavesRequestedThroughTheQueueRunOnTheMainThread)
{
    TempStore store;
    OperationQueue queue;
    bool savedOnMain = false;
    // Direct: a queued slot would run on the main thread wherever the save ran.
    QObject::connect(
        &store.context(), &ManagedObjectContext::didSave, &store.context(),
        [&] { savedOnMain = QThread::currentThread() == QCoreApplication::instance()->thread(); }, Qt::DirectConnection);
    store.task(QStringLiteral("queued"));
    store.stack().saveOnQueue(queue);
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(savedOnMain);
    EXPECT_FALSE(store.context().hasChanges());
}

TEST(StoreFailureTest, BackupIsMadeOnceAndTheWipeLeavesAFreshStore)
{
    TempStore store;
    store.task(QStringLiteral("before backup"));
    store.save();
    store.stack().createDataBaseBackup();
    const QByteArray first = digest(store.stack().backupPath());
    ASSERT_FALSE(first.isEmpty());
    store.task(QStringLiteral("after backup"));
    store.save();
    store.stack().createDataBaseBackup();
    EXPECT_EQ(digest(store.stack().backupPath()), first) << "the backup is never refreshed";
    {
        // The backup is a complete store of its own, even though the last changes were still in the journal.
        QTemporaryDir other;
        QDir().mkpath(other.filePath(QStringLiteral("Kelvara")));
        QFile::copy(store.stack().backupPath(), other.filePath(QStringLiteral("Kelvara/storedata")));
        EXPECT_EQ(tasksIn(other.filePath(QStringLiteral("Kelvara"))), 1);
    }

    MyNote *stale = store.task(QStringLiteral("unsaved"));
    EXPECT_TRUE(store.stack().DeleteDatabase());
    EXPECT_TRUE(stale->isDeleted());
    store.reopen();
    EXPECT_EQ(store.context().count(QStringLiteral("MyNote")), 0);
    EXPECT_EQ(store.context().count(QStringLiteral("MyNotebook")), 1) << "a wiped store starts like a fresh one";
}

TEST(StoreLockTest, ASecondProcessIsRefusedTheStoreUntilTheFirstLetsItGo)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Kelvara"));
    savedStore(folder, 1);
    int fromOther = -1;
    const pid_t other = startChild(
        [&](int ready) {
            StoreStack stack(folder);
            const char opened = stack.managedObjectContext() ? 'y' : 'n';
            (void)!write(ready, &opened, 1);
            pause();
        },
        &fromOther);
    char opened = 0;
    ASSERT_TRUE(read(fromOther, &opened, 1) == 1 && opened == 'y') << "the other process could not open the store";
    ::close(fromOther);

    RecordingErrorPresenter errors;
    StoreStack second(folder);
    EXPECT_EQ(second.managedObjectContext(), nullptr);
    EXPECT_TRUE(second.inUseElsewhere());
    EXPECT_FALSE(errors.errors().isEmpty());

    // Once the other one is gone, the next call that needs the store opens it.
    killChild(other);
    ManagedObjectContext *context = second.managedObjectContext();
    ASSERT_NE(context, nullptr);
    EXPECT_FALSE(second.inUseElsewhere());
    EXPECT_EQ(context->count(QStringLiteral("MyNote")), 1);
}

TEST(StoreCrashTest, KilledInTheMiddleOfSavingTheStoreOpensWholeEveryTime)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Kelvara"));
    int lastCount = 0, progressed = 0, killedBeforeCommit = 0;
    for (int kill = 0; kill < 50; ++kill) {
        int events = -1;
        const pid_t child = startChild([&](int fd) { saveForever(folder, fd); }, &events);
        ASSERT_GT(child, 0);

        // The kill comes the moment the child says the first, second or third save of its run
        // has begun to commit, at whatever point the scheduler lets the save be by then.
        qint32 lastStarted = 0, lastReturned = 0;
        Event event{};
        const auto note = [&] { (event.kind == Event::Committing ? lastStarted : lastReturned) = event.generation; };
        for (int seen = 0; seen <= kill % 3 && read(events, &event, sizeof event) == sizeof event;) {
            note();
            seen += event.kind == Event::Committing ? 1 : 0;
        }
        ASSERT_NO_FATAL_FAILURE(killChild(child));
        // What the child said before the kill reached it: it may have gone on saving meanwhile.
        while (read(events, &event, sizeof event) == sizeof event)
            note();
        ::close(events);
        ASSERT_GT(lastStarted, 0) << "the child never got to save";

        RecordingErrorPresenter errors;
        StoreStack stack(folder);
        ManagedObjectContext *context = stack.managedObjectContext();
        ASSERT_NE(context, nullptr) << "kill " << kill;
        EXPECT_TRUE(errors.errors().isEmpty());
        EXPECT_EQ(stack.persistentStoreCoordinator()->database().scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
                  QStringLiteral("ok"));
        const auto tasks = context->fetch(QStringLiteral("MyNote"));
        for (ManagedObject *o : tasks)
            ASSERT_EQ(static_cast<MyNote *>(o)->title(), QString::number(tasks.size())) << "a save was torn at kill " << kill;
        EXPECT_GE(tasks.size(), lastReturned) << "a save that had returned was lost at kill " << kill;
        EXPECT_LE(tasks.size(), lastStarted);
        EXPECT_GE(tasks.size(), lastCount);
        killedBeforeCommit += tasks.size() < lastStarted ? 1 : 0;
        progressed += tasks.size() > lastCount ? 1 : 0;
        lastCount = int(tasks.size());
        EXPECT_EQ(context->count(QStringLiteral("MyNotebook")), 1);
    }
    EXPECT_GT(progressed, 10) << "the child hardly ever got to save";
    EXPECT_GT(killedBeforeCommit, 0) << "no kill landed inside a save";
}
