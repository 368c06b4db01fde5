#include "tests/support/FixedClock.h"
#include "tests/support/TempStore.h"

namespace {
MyNote *onlyTask(ManagedObjectContext &context, const QString &title)
{
    const auto found = context.fetch(QStringLiteral("MyNote"), Predicate::withFormat(QStringLiteral("title == %@"), {title}));
    return found.size() == 1 ? static_cast<MyNote *>(found.first()) : nullptr;
}
} // namespace

TEST(StoreTest, AFreshStoreHasOneNotebookMarkedForUploadAndNewObjectsStartWithTheirDefaults)
{
    FixedClock clock;
    clock.set(QDateTime::fromMSecsSinceEpoch(1'765'000'000'123));
    TempStore store;
    MyNotebook *first = store.firstNotebook();
    EXPECT_TRUE(first->guid().isEmpty() && first->needUpdate());
    EXPECT_EQ(first->serviceCreated(), 1'765'000'000'123);
    EXPECT_FALSE(store.context().undoManager()->canUndo()) << "creating the store is not a user action";

    auto *task = store.context().insert<MyNote>();
    EXPECT_EQ(QVariantList({task->guid(), task->active(), task->toExpunged(), task->needUpdate(), task->completed(), task->dueDated()}),
              QVariantList({QString(), true, false, true, false, QDateTime()}));
    EXPECT_EQ(task->created(), 1'765'000'000'123);
    EXPECT_EQ(task->updated(), 0) << "updated waits for the first setter";
    EXPECT_TRUE(store.context().insert<MyTag>()->needUpdate());

    store.reopen();
    EXPECT_EQ(store.context().count(QStringLiteral("MyNotebook")), 1) << "no second notebook is added";
}

TEST(StoreTest, SettersStampAndMarkForUploadButBookkeepingWritesDoNot)
{
    FixedClock clock;
    const auto at = [&](qint64 ms) { clock.set(QDateTime::fromMSecsSinceEpoch(ms)); };
    at(1000);
    TempStore store;
    MyNotebook *inbox = store.firstNotebook();
    MyNote *task = store.task(QStringLiteral("Call Ana"), inbox);
    MyTag *tag = store.tag(QStringLiteral("phone"));

    // Raw writes clear the marks the way synchronisation does, then each setter sets them again.
    auto clear = [&] {
        for (ManagedObject *o : std::initializer_list<ManagedObject *>{task, inbox, tag})
            o->setValue(QStringLiteral("needUpdate"), false);
    };
    clear();
    at(2000);
    task->setTitle(task->title()); // the same value still counts as a change
    EXPECT_TRUE(task->needUpdate());
    EXPECT_EQ(task->updated(), 2000);

    for (auto set : {+[](MyNote *t) { t->setDueDated(QDateTime::currentDateTime()); },
                     +[](MyNote *t) { t->setCompleted(true); }, +[](MyNote *t) { t->setActive(false); }}) {
        clear();
        set(task);
        EXPECT_TRUE(task->needUpdate());
    }

    clear();
    at(3000);
    tag->setName(QStringLiteral("calls"));
    tag->setDeleted(true);
    inbox->setDeleted(true);
    EXPECT_TRUE(tag->needUpdate() && inbox->needUpdate());
    EXPECT_NE(inbox->serviceUpdated(), 3000) << "setDeleted stamps nothing";
    inbox->setName(QStringLiteral("Inbox"));
    EXPECT_EQ(inbox->serviceUpdated(), 3000);

    // Plain writes of bookkeeping mark nothing.
    clear();
    task->setValue(QStringLiteral("mysorter"), 42);
    inbox->setValue(QStringLiteral("hide"), true);
    EXPECT_FALSE(task->needUpdate() || inbox->needUpdate());
}

TEST(StoreTest, RelationshipsKeepBothSidesThroughMovesDeletesAndReopen)
{
    TempStore store;
    MyNotebook *a = store.notebook(QStringLiteral("A"));
    MyNotebook *b = store.notebook(QStringLiteral("B"));
    MyNote *t0 = store.task(QStringLiteral("t0"), b);
    MyNote *t3 = store.task(QStringLiteral("t3"), b);
    MyNote *t7 = store.task(QStringLiteral("t7"), b);
    t0->setValue(QStringLiteral("mysorter"), 0);
    t3->setValue(QStringLiteral("mysorter"), 3);
    t7->setValue(QStringLiteral("mysorter"), 7);
    EXPECT_EQ(a->nextMysorterValue(), 0);
    EXPECT_EQ(b->nextMysorterValue(), 8);

    MyNote *moved = store.task(QStringLiteral("moved"), a);
    EXPECT_EQ(moved->mysorter(), 0) << "first task of an empty notebook";
    moved->setNotebook(b);
    EXPECT_EQ(moved->mysorter(), 8) << "goes after every task already there";
    EXPECT_FALSE(a->notes().contains(moved));
    EXPECT_EQ(b->numberOfNotes(), 4);
    moved->setNotebook(nullptr);
    EXPECT_FALSE(b->notes().contains(moved));

    MyTag *home = store.tag(QStringLiteral("home"));
    MyTag *urgent = store.tag(QStringLiteral("urgent"));
    t0->addTagsObject(home);
    t3->addTags({home, urgent});
    EXPECT_EQ(home->notes().size(), 2);
    urgent->removeNotesObject(t3);
    EXPECT_EQ(t3->tags(), QList<MyTag *>{home});
    a->addNotesObject(t7);
    EXPECT_EQ(t7->notebook(), a);
    EXPECT_FALSE(b->notes().contains(t7)) << "a task is in one notebook only";

    // Deleting a notebook nullifies its tasks' notebook and never deletes them; deleting a tag
    // takes it off its tasks.
    store.context().deleteObject(b);
    EXPECT_EQ(t0->notebook(), nullptr);
    EXPECT_FALSE(t0->isDeleted());
    store.context().deleteObject(home);
    EXPECT_TRUE(t0->tags().isEmpty());

    store.reopen();
    ManagedObjectContext &c = store.context();
    MyNote *r7 = onlyTask(c, QStringLiteral("t7"));
    MyNote *r3 = onlyTask(c, QStringLiteral("t3"));
    MyNote *r0 = onlyTask(c, QStringLiteral("t0"));
    ASSERT_TRUE(r7 && r3 && r0 && r7->notebook());
    EXPECT_EQ(r7->notebook()->name(), QStringLiteral("A"));
    EXPECT_EQ(r7->mysorter(), 7);
    EXPECT_EQ(r0->notebook(), nullptr);
    EXPECT_TRUE(r3->tags().isEmpty());
    EXPECT_EQ(c.count(QStringLiteral("MyNotebook"), Predicate::withFormat(QStringLiteral("name == %@"), {QStringLiteral("B")})), 0);
    EXPECT_EQ(c.count(QStringLiteral("MyTag")), 1);
}

TEST(StoreTest, UndoRevertsOneUserActionAtATimeAndRedoReappliesIt)
{
    TempStore store;
    ManagedObjectContext &c = store.context();
    MyNotebook *nb = store.firstNotebook();
    UndoManager *undo = c.undoManager();
    undo->removeAllActions();
    const auto action = [](UndoManager *undo, const std::function<void()> &act) {
        undo->beginUndoGrouping();
        act();
        undo->endUndoGrouping();
    };

    MyNote *task = nullptr;
    action(undo, [&] { task = store.task(QStringLiteral("temporary"), nb); });
    undo->undo();
    EXPECT_EQ(c.count(QStringLiteral("MyNote")), 0);
    EXPECT_FALSE(nb->notes().contains(task));
    undo->redo();
    EXPECT_EQ(c.count(QStringLiteral("MyNote")), 1);
    EXPECT_EQ(task->notebook(), nb);

    // Undoing a delete brings the object back with its relationships, and it is saved.
    action(undo, [&] { c.deleteObject(task); });
    undo->undo();
    EXPECT_FALSE(task->isDeleted());
    EXPECT_EQ(task->notebook(), nb);
    store.reopen();
    MyNote *kept = onlyTask(store.context(), QStringLiteral("temporary"));
    ASSERT_NE(kept, nullptr);

    // A new edit after an undo drops what was undone: redo cannot bring it back over the edit.
    UndoManager *history = store.context().undoManager();
    action(history, [&] { kept->setTitle(QStringLiteral("first")); });
    history->undo();
    ASSERT_TRUE(history->canRedo());
    action(history, [&] { kept->setTitle(QStringLiteral("second")); });
    EXPECT_FALSE(history->canRedo());
    history->redo();
    EXPECT_EQ(kept->title(), QStringLiteral("second"));
    history->undo();
    EXPECT_EQ(kept->title(), QStringLiteral("temporary"));
}

TEST(StoreTest, OddAndHugeTextsRoundTripUnchanged)
{
    TempStore store;
    QString control = QStringLiteral("tab\there\r\nbell\u0007 nul");
    control += QChar(0);
    control += QStringLiteral("end");
    QString huge;
    while (huge.size() < (1 << 20))
        huge += QStringLiteral("Fish & chips <2> \"quoted\" ünïcödé ");
    const QStringList texts{QStringLiteral("Plan 🚀🏳️‍🌈 trip 𝄞"), QStringLiteral("שלום עולם \u202Bمرحبا\u202C"), control, huge};
    for (const QString &text : texts)
        store.task(text)->setContent(text);
    store.reopen();
    for (const QString &text : texts) {
        const MyNote *task = onlyTask(store.context(), text);
        ASSERT_NE(task, nullptr) << "lost: " << text.left(40).toStdString();
        EXPECT_EQ(task->content(), text);
    }
}
