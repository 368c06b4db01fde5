#include "core/store/MyNote.h"
#include "core/store/StoreValue.h"
#include "tests/support/TempStore.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

// Slots are copied, moved and overwritten as columns grow and as undo keeps old values: a text
// must survive each of these on its own, and nothing may be freed twice.
TEST(StoreValueTest, TextsSurviveCopiesMovesAndOverwritesAndKeepNullApartFromEmpty)
{
    std::vector<StoreValue> column;
    for (int i = 0; i < 1000; ++i) // grows several times, moving every slot
        column.push_back(i % 2 ? StoreValue(QStringLiteral("task %1").arg(i)) : StoreValue(qint64(i)));
    EXPECT_EQ(column[999].text(), QStringLiteral("task 999"));
    EXPECT_EQ(column[998].integer(), 998);

    StoreValue copy = column[1];
    column[1] = column[3];      // a text over a text
    column[3] = StoreValue(7.5); // a real over a text
    column[5] = column[5];       // onto itself
    EXPECT_EQ(copy.text(), QStringLiteral("task 1"));
    EXPECT_EQ(column[1].text(), QStringLiteral("task 3"));
    EXPECT_EQ(column[3].kind(), StoreValue::Kind::Real);
    EXPECT_EQ(column[5].text(), QStringLiteral("task 5"));
    StoreValue moved = std::move(copy);
    EXPECT_EQ(moved.text(), QStringLiteral("task 1"));
    EXPECT_FALSE(copy.isValid()); // NOLINT: a moved-from slot reads as absent

    const StoreValue null{QString()}, empty{QStringLiteral("")};
    EXPECT_TRUE(StoreValue(null).text().isNull() && !StoreValue(empty).text().isNull() && empty.text().isEmpty());
}

// An empty text and an absent one are different values of an optional attribute, in memory, in
// the file and through undo.
TEST(StoreValueTest, EmptyAndAbsentOptionalValuesStayApartThroughUndoAndReopen)
{
    TempStore store;
    MyNote *empty = store.task(QStringLiteral("empty"));
    MyNote *absent = store.task(QStringLiteral("absent"));
    empty->setValue(QStringLiteral("content"), QStringLiteral(""));
    absent->setValue(QStringLiteral("content"), QStringLiteral("to clear"));
    absent->setValue(QStringLiteral("dueDated"), QDateTime::fromMSecsSinceEpoch(1'700'000'000'000));
    UndoManager *undo = store.context().undoManager();
    undo->removeAllActions();
    undo->beginUndoGrouping();
    absent->setValue(QStringLiteral("content"), QVariant());
    absent->setValue(QStringLiteral("dueDated"), QVariant());
    undo->endUndoGrouping();
    EXPECT_FALSE(absent->value(QStringLiteral("dueDated")).isValid());
    undo->undo();
    EXPECT_EQ(absent->content(), QStringLiteral("to clear"));
    EXPECT_EQ(absent->dueDated().toMSecsSinceEpoch(), 1'700'000'000'000);
    undo->redo();

    store.reopen();
    const auto tasks = store.context().fetch(QStringLiteral("MyNote"));
    ASSERT_EQ(tasks.size(), 2);
    for (ManagedObject *o : tasks) {
        const bool isEmpty = o->value(QStringLiteral("title")) == QStringLiteral("empty");
        const QVariant content = o->value(QStringLiteral("content"));
        EXPECT_EQ(content.isValid(), isEmpty);
        EXPECT_EQ(content.toString(), QString());
        EXPECT_FALSE(o->value(QStringLiteral("dueDated")).isValid());
    }
    EXPECT_EQ(store.context().count(QStringLiteral("MyNote"),
                                    Predicate::withFormat(QStringLiteral("content == %@"), {QStringLiteral("")})),
              1);
}
