#include "core/Localized.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "core/store/PersistentStoreCoordinator.h"
#include "tests/support/FixedClock.h"
#include "tests/support/LogCapture.h"
#include "tests/support/NotificationRecorder.h"
#include "tests/support/TempStore.h"

#include <gtest/gtest.h>

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
    const auto notebooks = store.context().fetch(QStringLiteral("MyNotebook"));
    ASSERT_EQ(notebooks.size(), 1);
    auto *first = static_cast<MyNotebook *>(notebooks.first());
    EXPECT_EQ(first->name(), Localized::string(QStringLiteral("MY_NOTEBOOK")));
    EXPECT_EQ(first->guid(), QString());
    EXPECT_TRUE(first->needUpdate());
    EXPECT_EQ(first->serviceCreated(), 1'765'000'000'123);
    EXPECT_FALSE(store.context().undoManager()->canUndo()) << "creating the store is not a user action";

    auto *task = store.context().insert<MyNote>();
    EXPECT_EQ(task->title(), Localized::string(QStringLiteral("NEW_TASK")));
    EXPECT_TRUE(task->guid().isEmpty());
    EXPECT_TRUE(task->active());
    EXPECT_FALSE(task->toExpunged());
    EXPECT_TRUE(task->needUpdate());
    EXPECT_FALSE(task->completed());
    EXPECT_EQ(task->created(), 1'765'000'000'123);
    EXPECT_EQ(task->updated(), 0) << "updated waits for the first setter";
    EXPECT_FALSE(task->dueDated().isValid());
    EXPECT_TRUE(Predicate::withFormat(QStringLiteral("completed == 0")).evaluate(task));

    auto *tag = store.context().insert<MyTag>();
    EXPECT_EQ(tag->name(), Localized::string(QStringLiteral("NEW_TAG")));
    EXPECT_TRUE(tag->needUpdate());

    // The notebook survives a reopen and no second one is added.
    store.reopen();
    EXPECT_EQ(store.context().count(QStringLiteral("MyNotebook")), 1);
}

TEST(StoreTest, SettersStampMarkAndAnnounceExactlyAsTheirTableSays)
{
    FixedClock clock;
    const auto at = [&](qint64 ms) { clock.set(QDateTime::fromMSecsSinceEpoch(ms)); };
    at(1000);
    TempStore store;
    MyNotebook *inbox = store.firstNotebook();
    MyNote *task = store.task(QStringLiteral("Call Ana"), inbox);
    MyTag *tag = store.tag(QStringLiteral("phone"));
    NotificationRecorder dockTile(QStringLiteral("ShowDockTile"));
    QStringList changedKeys;
    QObject::connect(&store.context(), &ManagedObjectContext::objectChanged, &store.context(),
                     [&](ManagedObject *o, const QString &key) {
                         if (o == task)
                             changedKeys << key;
                     });

    // Raw writes clear the marks the way synchronisation does, then each setter sets them again.
    auto clear = [&] {
        task->setValue(QStringLiteral("needUpdate"), false);
        inbox->setValue(QStringLiteral("needUpdate"), false);
        tag->setValue(QStringLiteral("needUpdate"), false);
    };
    clear();
    at(2000);
    task->setTitle(task->title()); // the same value still counts as a change
    EXPECT_TRUE(task->needUpdate());
    EXPECT_EQ(task->updated(), 2000);
    EXPECT_EQ(dockTile.count(), 0);
    EXPECT_TRUE(changedKeys.contains(QStringLiteral("title")));
    EXPECT_TRUE(changedKeys.contains(QStringLiteral("updated")));

    for (auto set : {+[](MyNote *t) { t->setDueDated(QDateTime::currentDateTime()); },
                     +[](MyNote *t) { t->setCompleted(true); }, +[](MyNote *t) { t->setActive(false); }}) {
        clear();
        set(task);
        EXPECT_TRUE(task->needUpdate());
    }
    EXPECT_EQ(dockTile.senders(), (QList<const void *>{task, task, task}));

    clear();
    at(3000);
    tag->setName(QStringLiteral("calls"));
    tag->setDeleted(true);
    inbox->setDeleted(true);
    EXPECT_TRUE(tag->needUpdate());
    EXPECT_TRUE(inbox->needUpdate());
    EXPECT_NE(inbox->serviceUpdated(), 3000) << "setDeleted stamps nothing";
    inbox->setName(QStringLiteral("Inbox"));
    EXPECT_EQ(inbox->serviceUpdated(), 3000);

    // Plain writes of bookkeeping mark nothing.
    clear();
    task->setValue(QStringLiteral("mysorter"), 42);
    inbox->setValue(QStringLiteral("hide"), true);
    EXPECT_FALSE(task->needUpdate());
    EXPECT_FALSE(inbox->needUpdate());
    EXPECT_EQ(task->mysorter(), 42);
    EXPECT_TRUE(inbox->hide());
}

TEST(StoreTest, RelationshipsKeepBothSidesAndTheirSettersLogAndMark)
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
    EXPECT_EQ(moved->notebook(), b);
    EXPECT_FALSE(a->notes().contains(moved));
    EXPECT_TRUE(b->notes().contains(moved));
    EXPECT_EQ(b->numberOfNotes(), 4);
    moved->setNotebook(nullptr);
    EXPECT_EQ(moved->mysorter(), 0);
    EXPECT_FALSE(b->notes().contains(moved));

    LogCapture log;
    MyTag *home = store.tag(QStringLiteral("home"));
    MyTag *urgent = store.tag(QStringLiteral("urgent"));
    t0->addTagsObject(home);
    EXPECT_TRUE(log.contains(QStringLiteral("Note t0 adding tag home")));
    t3->addTags({home, urgent});
    EXPECT_TRUE(log.contains(QStringLiteral("Note t3 adding 2 tags")));
    EXPECT_EQ(home->notes().size(), 2);
    urgent->removeNotesObject(t3);
    EXPECT_TRUE(log.contains(QStringLiteral("Tag urgent removing note t3")));
    EXPECT_EQ(t3->tags(), QList<MyTag *>{home});
    a->addNotesObject(t7);
    EXPECT_TRUE(log.contains(QStringLiteral("Notebook A adding note t7")));
    EXPECT_EQ(t7->notebook(), a);
    EXPECT_FALSE(b->notes().contains(t7)) << "a task is in one notebook only";

    // Deleting a notebook nullifies its tasks' notebook and never deletes them.
    store.context().deleteObject(b);
    EXPECT_EQ(t0->notebook(), nullptr);
    EXPECT_FALSE(t0->isDeleted());
    // Deleting a tag takes it off its tasks.
    store.context().deleteObject(home);
    EXPECT_TRUE(t0->tags().isEmpty());

    // All of it survives the file.
    store.reopen();
    ManagedObjectContext &c = store.context();
    MyNote *r7 = onlyTask(c, QStringLiteral("t7"));
    MyNote *r3 = onlyTask(c, QStringLiteral("t3"));
    MyNote *r0 = onlyTask(c, QStringLiteral("t0"));
    ASSERT_TRUE(r7 && r3 && r0);
    ASSERT_TRUE(r7->notebook());
    EXPECT_EQ(r7->notebook()->name(), QStringLiteral("A"));
    EXPECT_EQ(r7->mysorter(), 7);
    EXPECT_EQ(r0->notebook(), nullptr);
    EXPECT_TRUE(r3->tags().isEmpty());
    EXPECT_EQ(c.count(QStringLiteral("MyNotebook"), Predicate::withFormat(QStringLiteral("name == %@"), {QStringLiteral("B")})), 0);
    EXPECT_EQ(c.count(QStringLiteral("MyTag")), 1);
}

TEST(StoreTest, SimpleNoteIsAValueCopyThatReportsContent)
{
    TempStore store;
    MyNote *task = store.task(QStringLiteral("Pay rent"));
    MyTag *tag = store.tag(QStringLiteral("money"));
    task->addTagsObject(tag);
    task->setContent(QStringLiteral(""));
    MySimpleNote s = task->simpleNote();
    EXPECT_FALSE(s.hasContent) << "an empty content is no content";
    task->setContent(QStringLiteral("ring the bell"));
    MySimpleNote copy = task->simpleNote();
    task->setTitle(QStringLiteral("Paid rent"));
    EXPECT_TRUE(copy.hasContent);
    EXPECT_EQ(copy.title, QStringLiteral("Pay rent")) << "a copy does not follow later changes";
    EXPECT_EQ(copy.tags, QList<MyTag *>{tag});
    EXPECT_EQ(copy.notebook, store.firstNotebook());
}

TEST(StoreTest, UndoRevertsOneUserActionAtATimeAndRedoReappliesIt)
{
    TempStore store;
    ManagedObjectContext &c = store.context();
    MyNotebook *nb = store.firstNotebook();
    UndoManager *undo = c.undoManager();
    undo->removeAllActions();

    undo->beginUndoGrouping();
    nb->setName(QStringLiteral("Renamed"));
    undo->endUndoGrouping();
    undo->beginUndoGrouping();
    MyNote *task = store.task(QStringLiteral("temporary"), nb);
    undo->endUndoGrouping();
    EXPECT_EQ(c.count(QStringLiteral("MyNote")), 1);

    undo->undo(); // the insert
    EXPECT_EQ(c.count(QStringLiteral("MyNote")), 0);
    EXPECT_FALSE(nb->notes().contains(task));
    EXPECT_EQ(nb->name(), QStringLiteral("Renamed"));
    undo->undo(); // the rename
    EXPECT_EQ(nb->name(), Localized::string(QStringLiteral("MY_NOTEBOOK")));
    undo->redo();
    EXPECT_EQ(nb->name(), QStringLiteral("Renamed"));
    undo->redo();
    EXPECT_EQ(c.count(QStringLiteral("MyNote")), 1);
    EXPECT_EQ(task->notebook(), nb);
    EXPECT_EQ(task->title(), QStringLiteral("temporary"));

    // Undoing a delete brings the object back with its relationships, and it is saved.
    undo->beginUndoGrouping();
    c.deleteObject(task);
    undo->endUndoGrouping();
    undo->undo();
    EXPECT_FALSE(task->isDeleted());
    EXPECT_EQ(task->notebook(), nb);
    store.reopen();
    MyNote *kept = onlyTask(store.context(), QStringLiteral("temporary"));
    ASSERT_NE(kept, nullptr);

    // A new edit after an undo drops what was undone: redo cannot bring it back over the edit.
    UndoManager *history = store.context().undoManager();
    history->beginUndoGrouping();
    kept->setTitle(QStringLiteral("first"));
    history->endUndoGrouping();
    history->undo();
    ASSERT_TRUE(history->canRedo());
    history->beginUndoGrouping();
    kept->setTitle(QStringLiteral("second"));
    history->endUndoGrouping();
    EXPECT_FALSE(history->canRedo());
    history->redo();
    EXPECT_EQ(kept->title(), QStringLiteral("second"));
    history->undo();
    EXPECT_EQ(kept->title(), QStringLiteral("temporary"));
}

TEST(StoreTest, OddAndHugeTextsRoundTripUnchanged)
{
    TempStore store;
    const QString emoji = QStringLiteral("Plan 🚀🏳️‍🌈 trip 𝄞");
    const QString rtl = QStringLiteral("שלום עולם \u202Bمرحبا\u202C");
    QString control = QStringLiteral("tab\there\r\nbell\u0007 nul");
    control += QChar(0);
    control += QStringLiteral("end");
    QString huge;
    huge.reserve(1 << 20);
    while (huge.size() < (1 << 20))
        huge += QStringLiteral("Fish & chips <2> \"quoted\" ünïcödé ");
    const QStringList texts{emoji, rtl, control, huge};
    for (int i = 0; i < texts.size(); ++i) {
        MyNote *t = store.task(QStringLiteral("t%1").arg(i));
        t->setContent(texts[i]);
        t->setTitle(texts[i]);
    }
    store.reopen();
    const auto tasks = store.context().fetch(QStringLiteral("MyNote"), {}, {SortDescriptor(QStringLiteral("created"))});
    QStringList read;
    for (ManagedObject *o : tasks)
        read << static_cast<MyNote *>(o)->content();
    for (const QString &text : texts) {
        EXPECT_TRUE(read.contains(text)) << "lost: " << text.left(40).toStdString();
        EXPECT_NE(onlyTask(store.context(), text), nullptr);
    }
}

TEST(StoreTest, FetchesSortByTheirDescriptorsWithAbsentValuesFirst)
{
    TempStore store;
    MyNote *b = store.task(QStringLiteral("b"));
    MyNote *a = store.task(QStringLiteral("a"));
    MyNote *c = store.task(QStringLiteral("C"));
    a->setDueDated(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    b->setDueDated(QDateTime(QDate(2026, 12, 6), QTime(9, 0)));
    auto order = [&](std::vector<SortDescriptor> d) {
        QStringList t;
        for (ManagedObject *o : store.context().fetch(QStringLiteral("MyNote"), {}, d))
            t << static_cast<MyNote *>(o)->title();
        return t.join(u',');
    };
    EXPECT_EQ(order({SortDescriptor(QStringLiteral("dueDated"))}), QStringLiteral("C,b,a"));
    EXPECT_EQ(order({SortDescriptor(QStringLiteral("dueDated"), false)}), QStringLiteral("a,b,C"));
    EXPECT_EQ(order({SortDescriptor(QStringLiteral("title"))}), QStringLiteral("C,a,b"));
    EXPECT_EQ(order({SortDescriptor(QStringLiteral("title"), true, SortDescriptor::Comparison::CaseInsensitive)}),
              QStringLiteral("a,b,C"));
    c->setCompleted(true);
    EXPECT_EQ(order({SortDescriptor(QStringLiteral("completed")), SortDescriptor(QStringLiteral("title"), false)}),
              QStringLiteral("b,a,C"));
}
