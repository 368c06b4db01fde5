#include "core/store/TaskCounts.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "tests/support/TempStore.h"
#include "tests/support/FixedClock.h"

#include <gtest/gtest.h>

namespace {
MyNote *due(TempStore &store, const QString &title, const QDateTime &when, MyNotebook *notebook = nullptr)
{
    MyNote *task = store.task(title, notebook);
    task->setDueDated(when);
    return task;
}

// Today, overdue, tomorrow, and the badge (today's and the overdue together), twice over.
std::vector<int> counts(ManagedObjectContext *context)
{
    const TaskCounts::Counts c = TaskCounts::dueCounts(context);
    return std::vector{c.today, c.overdue, c.tomorrow, c.dockBadge, int(TaskCounts::dockBadgeCount(context))};
}
} // namespace

TEST(TaskCountsTest, TodayOverdueTomorrowAndTheBadgeCountWithInclusiveRangeEnds)
{
    FixedClock clock;
    clock.set(2024, 5, 14, 10, 0, 0, 250);
    TempStore store;
    due(store, QStringLiteral("exactly the end of yesterday"), clock.at(2024, 5, 13, 23, 59, 59, 250));
    due(store, QStringLiteral("a millisecond before"), clock.at(2024, 5, 13, 23, 59, 59, 249));
    due(store, QStringLiteral("early today"), clock.at(2024, 5, 14, 0, 0, 25));
    due(store, QStringLiteral("exactly the end of today"), clock.at(2024, 5, 14, 23, 59, 59, 250));
    due(store, QStringLiteral("tomorrow noon"), clock.at(2024, 5, 15, 12, 0));
    due(store, QStringLiteral("the day after"), clock.at(2024, 5, 16, 0, 0, 0, 250));
    store.task(QStringLiteral("no due date"));
    due(store, QStringLiteral("last year"), clock.at(2023, 5, 14, 10, 0));

    // The end of today counts for tomorrow too.
    EXPECT_EQ(counts(&store.context()), (std::vector{3, 2, 2, 5, 5}));
    // At midnight tomorrow's tasks become today's and today's become overdue.
    clock.set(2024, 5, 15, 0, 0, 10, 250);
    EXPECT_EQ(counts(&store.context()), (std::vector{2, 4, 1, 6, 6}));
}

TEST(TaskCountsTest, CompletedTrashedAndHiddenNotebookTasksAreNeverCounted)
{
    FixedClock clock;
    clock.set(2024, 5, 14, 10, 0);
    TempStore store;
    MyNotebook *hidden = store.notebook(QStringLiteral("Someday"));
    hidden->setValue(QStringLiteral("hide"), 1);
    for (const QDateTime &when : {clock.at(2024, 5, 1, 9, 0), clock.at(2024, 5, 14, 9, 0), clock.at(2024, 5, 15, 9, 0)}) {
        due(store, QStringLiteral("done"), when)->setCompleted(true);
        due(store, QStringLiteral("trashed"), when)->setActive(false);
        due(store, QStringLiteral("hidden"), when, hidden);
    }
    EXPECT_EQ(counts(&store.context()), (std::vector{0, 0, 0, 0, 0}));
    hidden->setValue(QStringLiteral("hide"), 0);
    EXPECT_EQ(counts(&store.context()), (std::vector{1, 1, 1, 2, 2}));
    EXPECT_EQ(counts(nullptr), (std::vector{0, 0, 0, 0, 0})) << "no store, nothing to count";
}
