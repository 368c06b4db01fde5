#include "core/store/PersistentStoreCoordinator.h"
#include "tests/support/DiesWithParent.h"
#include "tests/support/RecordingErrorPresenter.h"
#include "tests/support/TempStore.h"

#include <csignal>
#include <functional>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
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

TEST(StoreLockTest, ASecondProcessIsRefusedTheStoreUntilTheFirstLetsItGo)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Kelvara"));
    {
        StoreStack first(folder);
        ASSERT_NE(first.managedObjectContext(), nullptr);
        first.managedObjectContext()->insert<MyNote>()->setTitle(QStringLiteral("mine"));
        ASSERT_TRUE(first.saveAction());
    }
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
    ASSERT_FALSE(errors.errors().isEmpty());
    EXPECT_EQ(errors.errors().first().failureReason, QStringLiteral("Another Kelvara is using it."));
    EXPECT_FALSE(errors.errors().first().recoverySuggestion.isEmpty());

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
