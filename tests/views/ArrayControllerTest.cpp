#include "core/store/MyNotebook.h"
#include "tests/support/ViewTest.h"

#include <QAbstractItemModelTester>

using ArrayControllerTest = ViewTest;

TEST_F(ArrayControllerTest, ListsANotebooksTasksFilteredAndSortedAndFollowsChangesWithoutResorting)
{
    MyNotebook *inbox = store.firstNotebook();
    MyNotebook *other = store.notebook(QStringLiteral("Other"));
    MyNote *c = store.task(QStringLiteral("c"), inbox);
    MyNote *a = store.task(QStringLiteral("a"), inbox);
    MyNote *b = store.task(QStringLiteral("b"), inbox);
    store.task(QStringLiteral("elsewhere"), other);

    ArrayController tasks;
    QAbstractItemModelTester tester(&tasks, QAbstractItemModelTester::FailureReportingMode::Fatal);
    tasks.setManagedObjectContext(&store.context());
    tasks.setFilterPredicate(Predicate::withFormat(QStringLiteral("active == 1")));
    tasks.setSortDescriptors({SortDescriptor(QStringLiteral("title"))});
    tasks.setContentRelationship(inbox, QStringLiteral("notes"));
    EXPECT_EQ(titles(tasks), QStringLiteral("a, b, c"));
    EXPECT_EQ(tasks.selectedObjects(), QList<ManagedObject *>{a}) << "a non-empty list keeps a selection";

    // A changed attribute refreshes its row in place; rearranging sorts again, keeping the selection.
    tasks.setSelectedObjects({b});
    b->setTitle(QStringLiteral("z"));
    EXPECT_EQ(titles(tasks), QStringLiteral("a, z, c"));
    tasks.rearrangeObjects();
    EXPECT_EQ(titles(tasks), QStringLiteral("a, c, z"));
    EXPECT_EQ(tasks.selectedObjects(), QList<ManagedObject *>{b});

    // A task trashed stays until the list is arranged again; one deleted leaves at once.
    c->setActive(false);
    EXPECT_EQ(tasks.count(), 3);
    tasks.rearrangeObjects();
    EXPECT_EQ(titles(tasks), QStringLiteral("a, z"));
    tasks.setSelectedObjects({b});
    store.context().deleteObject(b);
    EXPECT_EQ(titles(tasks), QStringLiteral("a"));
    EXPECT_EQ(tasks.selectedObjects(), QList<ManagedObject *>{a}) << "the selection moves to a neighbour";

    // A task joining the notebook is appended once the action is over; one leaving goes.
    MyNote *added = store.task(QStringLiteral("added"), inbox);
    tasks.processPendingChanges();
    EXPECT_EQ(titles(tasks), QStringLiteral("a, added"));
    added->setNotebook(other);
    EXPECT_EQ(titles(tasks), QStringLiteral("a"));
    a->setActive(false); // stays until arranged, and joins nothing
    a->setNotebook(inbox);
    tasks.processPendingChanges();
    EXPECT_EQ(tasks.count(), 1);

    tasks.setContentRelationship(other, QStringLiteral("notes"));
    EXPECT_EQ(titles(tasks), QStringLiteral("added, elsewhere"));
    store.context().deleteObject(other);
    EXPECT_EQ(tasks.count(), 0) << "its notebook deleted, the list empties";
}

TEST_F(ArrayControllerTest, FetchModeAddsInsertedObjectsThatMatchAndEmptiesOnAWipe)
{
    ArrayController notebooks;
    QAbstractItemModelTester tester(&notebooks, QAbstractItemModelTester::FailureReportingMode::Fatal);
    notebooks.setManagedObjectContext(&store.context());
    notebooks.setEntityName(QStringLiteral("MyNotebook"));
    notebooks.setFetchPredicate(Predicate::withFormat(QStringLiteral("deleted == 0")));
    notebooks.setSortDescriptors({SortDescriptor(QStringLiteral("name"), true, SortDescriptor::Comparison::CaseInsensitive)});
    store.notebook(QStringLiteral("work"));
    store.notebook(QStringLiteral("gone"))->setDeleted(true);
    notebooks.processPendingChanges();
    ASSERT_EQ(notebooks.count(), 2) << "the notebook marked deleted does not match";
    EXPECT_EQ(notebooks.data(notebooks.index(1), Qt::DisplayRole).toString(), QStringLiteral("work"));

    EXPECT_TRUE(store.stack().DeleteDatabase());
    EXPECT_EQ(notebooks.count(), 0);
    notebooks.processPendingChanges();
    EXPECT_EQ(notebooks.count(), 1) << "only the fresh store's notebook";
}
