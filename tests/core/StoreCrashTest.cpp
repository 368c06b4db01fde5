#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/PersistentStoreCoordinator.h"
#include "core/store/SqliteDatabase.h"
#include "core/store/StoreStack.h"
#include "tests/support/DiesWithParent.h"
#include "tests/support/RecordingErrorPresenter.h"

#include <QTemporaryDir>

#include <csignal>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {
// What the child tells the parent about each save.
struct Event
{
    enum Kind : qint32 { Started, Committing, Returned } kind;
    qint32 generation;
};

int g_events = -1;
qint32 g_generation = 0;

bool tell(Event::Kind kind, qint32 generation)
{
    const Event event{kind, generation};
    return write(g_events, &event, sizeof event) == sizeof event;
}

// SQLite calls it when a transaction begins to commit, before its pages are written: a kill
// that follows lands in the middle of the writes to the journal and their flush.
int committing(void *) { return tell(Event::Committing, g_generation) ? 0 : 1; }

// The child: every save rewrites every task with the next generation number and adds one more
// task, so a store that was saved whole has exactly `generation` tasks, all alike. It tells the
// parent through `events` when a save starts, when it starts to commit and when it returned.
[[noreturn]] void saveForever(const QString &folder, int events)
{
    dieWithParent();
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
        if (!tell(Event::Started, g_generation) || !context->save(&error) || !tell(Event::Returned, g_generation))
            _exit(4);
    }
}
} // namespace

TEST(StoreCrashTest, KilledInTheMiddleOfSavingTheStoreOpensWholeEveryTime)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Kelvara"));
    int lastCount = 0, progressed = 0, killedBeforeCommit = 0;
    for (int kill = 0; kill < 50; ++kill) {
        int events[2];
        ASSERT_EQ(pipe(events), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(events[0]);
            saveForever(folder, events[1]);
        }
        ::close(events[1]);

        // The kill comes the moment the child says the first, second or third save of its run
        // has started (every other time: has begun to commit), at whatever point the scheduler
        // lets the save be by then.
        const Event::Kind killAt = kill % 2 ? Event::Committing : Event::Started;
        const int savesToLetStart = 1 + kill % 3;
        int seen = 0;
        qint32 lastStarted = 0, lastReturned = 0;
        Event event{};
        const auto note = [&] {
            if (event.kind != Event::Committing)
                (event.kind == Event::Started ? lastStarted : lastReturned) = event.generation;
        };
        while (seen < savesToLetStart && read(events[0], &event, sizeof event) == sizeof event) {
            note();
            seen += event.kind == killAt ? 1 : 0;
        }
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself with " << WEXITSTATUS(status);
        // What the child said before the kill reached it: it may have gone on saving meanwhile.
        while (read(events[0], &event, sizeof event) == sizeof event)
            note();
        ::close(events[0]);
        ASSERT_GT(lastStarted, 0) << "the child never got to save";

        RecordingErrorPresenter errors;
        StoreStack stack(folder);
        ManagedObjectContext *context = stack.managedObjectContext();
        ASSERT_NE(context, nullptr) << "kill " << kill;
        EXPECT_TRUE(errors.errors().isEmpty());
        EXPECT_EQ(stack.persistentStoreCoordinator()->database().scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
                  QStringLiteral("ok"));
        const auto tasks = context->fetch(QStringLiteral("MyNote"));
        const QString expected = QString::number(tasks.size());
        for (ManagedObject *o : tasks)
            ASSERT_EQ(static_cast<MyNote *>(o)->title(), expected) << "a save was torn at kill " << kill;
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
