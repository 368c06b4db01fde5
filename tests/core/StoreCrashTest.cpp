#include "core/store/MyNote.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNotebook.h"
#include "core/store/PersistentStoreCoordinator.h"
#include "core/store/SqliteDatabase.h"
#include "core/store/StoreStack.h"
#include "tests/support/RecordingErrorPresenter.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {
// The child: every save rewrites every task with the next generation number and adds one more
// task, so a store that was saved whole has exactly `generation + base` tasks, all alike.
[[noreturn]] void saveForever(const QString &folder)
{
    StoreStack stack(folder);
    ManagedObjectContext *context = stack.managedObjectContext();
    if (!context)
        _exit(3);
    context->undoManager()->disableUndoRegistration();
    for (;;) {
        const auto tasks = context->fetch(QStringLiteral("MyNote"));
        const QString generation = QString::number(tasks.size() + 1);
        for (ManagedObject *o : tasks)
            static_cast<MyNote *>(o)->setTitle(generation);
        auto *added = context->insert<MyNote>();
        added->setTitle(generation);
        added->setContent(QString(4000, u'k'));
        AppError error;
        if (!context->save(&error))
            _exit(4);
    }
}
} // namespace

TEST(StoreCrashTest, KilledInTheMiddleOfSavingTheStoreOpensWholeEveryTime)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Kelvara"));
    int lastCount = 0;
    int progressed = 0;
    for (int kill = 0; kill < 50; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            saveForever(folder);
        usleep(useconds_t(QRandomGenerator::global()->bounded(20000, 80000)));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself with " << WEXITSTATUS(status);

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
        EXPECT_GE(tasks.size(), lastCount) << "a committed save was lost";
        progressed += tasks.size() > lastCount ? 1 : 0;
        lastCount = int(tasks.size());
        EXPECT_EQ(context->count(QStringLiteral("MyNotebook")), 1);
    }
    EXPECT_GT(progressed, 10) << "the child hardly ever got to save";
}
