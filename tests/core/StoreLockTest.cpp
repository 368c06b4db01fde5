#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"
#include "core/store/StoreStack.h"
#include "tests/support/DiesWithParent.h"
#include "tests/support/RecordingErrorPresenter.h"

#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {
// Another process with the store open: it opens it, says so on `ready`, and closes it and ends
// when `release` is written to or closed.
pid_t holdStoreInAnotherProcess(const QString &folder, int *releaseFd)
{
    int ready[2], release[2];
    if (pipe(ready) != 0 || pipe(release) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        dieWithParent();
        ::close(ready[0]);
        ::close(release[1]);
        StoreStack stack(folder);
        ManagedObjectContext *context = stack.managedObjectContext();
        const char opened = context ? 'y' : 'n';
        (void)!write(ready[1], &opened, 1);
        char any;
        (void)!read(release[0], &any, 1);
        _exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    char opened = 0;
    const bool told = read(ready[0], &opened, 1) == 1 && opened == 'y';
    ::close(ready[0]);
    *releaseFd = release[1];
    return told ? child : -1;
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

    int release = -1;
    const pid_t other = holdStoreInAnotherProcess(folder, &release);
    ASSERT_GT(other, 0) << "the other process could not open the store";

    RecordingErrorPresenter errors;
    StoreStack second(folder);
    EXPECT_EQ(second.managedObjectContext(), nullptr);
    EXPECT_TRUE(second.inUseElsewhere());
    ASSERT_FALSE(errors.errors().isEmpty());
    EXPECT_EQ(errors.errors().first().failureReason.toStdString(), "Another Kelvara is using it.");
    EXPECT_FALSE(errors.errors().first().recoverySuggestion.isEmpty());

    // Once the other one is gone, the next call that needs the store opens it.
    ::close(release);
    int status = 0;
    ASSERT_EQ(waitpid(other, &status, 0), other);
    ManagedObjectContext *context = second.managedObjectContext();
    ASSERT_NE(context, nullptr);
    EXPECT_FALSE(second.inUseElsewhere());
    EXPECT_EQ(context->count(QStringLiteral("MyNote")), 1);
}
