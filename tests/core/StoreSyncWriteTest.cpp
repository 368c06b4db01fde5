#include "core/store/SyncWriteScope.h"
#include "tests/support/TempStore.h"

#include <functional>
#include <tuple>

namespace {
QString label(ManagedObject *o)
{
    return o->value(o->entity().attributeIndex(QStringLiteral("name")) >= 0 ? QStringLiteral("name")
                                                                            : QStringLiteral("title"))
        .toString();
}

// Every announcement of the context, in order: "will Buy milk.title", "did Buy milk.title".
struct Announcements
{
    explicit Announcements(ManagedObjectContext &c)
    {
        QObject::connect(&c, &ManagedObjectContext::objectWillChange, &receiver, [this](ManagedObject *o, const QString &key) {
            log << QStringLiteral("will %1.%2").arg(label(o), key);
        });
        QObject::connect(&c, &ManagedObjectContext::objectChanged, &receiver, [this](ManagedObject *o, const QString &key) {
            log << QStringLiteral("did %1.%2").arg(label(o), key);
        });
    }
    QObject receiver; // the connections end with it
    QStringList log;
};
} // namespace

TEST(StoreSyncWriteTest, SyncWritesAreNotUndoneMarkedOrCountedAreAnnouncedBeforeAndAfterAndAreSaved)
{
    TempStore store;
    ManagedObjectContext &c = store.context();
    MyNotebook *inbox = store.firstNotebook();
    inbox->setName(QStringLiteral("Inbox"));
    MyNotebook *work = store.notebook(QStringLiteral("Work"));
    MyTag *home = store.tag(QStringLiteral("home"));
    MyTag *urgent = store.tag(QStringLiteral("urgent"));
    MyNote *task = store.task(QStringLiteral("Buy milk"), inbox);
    task->addTagsObject(home);
    store.save();
    UndoManager *undo = c.undoManager();
    undo->removeAllActions();
    undo->beginUndoGrouping();
    task->setTitle(QStringLiteral("Buy oat milk"));
    undo->endUndoGrouping();

    const std::vector<ManagedObject *> touched{task, inbox, work, home, urgent};
    {
        SyncWriteScope scope(c);
        for (ManagedObject *o : touched)
            scope.write(o, {{QStringLiteral("needUpdate"), false}});
    }
    std::vector<quint64> counts;
    for (ManagedObject *o : touched)
        counts.push_back(o->changeCount());

    Announcements announced(c);
    // What the announcements see of the task: nothing written yet before, everything after.
    int outOfStep = 0;
    QObject::connect(&c, &ManagedObjectContext::objectWillChange, &announced.receiver,
                     [&] { outOfStep += !task->guid().isEmpty(); });
    QObject::connect(&c, &ManagedObjectContext::objectChanged, &announced.receiver,
                     [&] { outOfStep += task->tags() != QList<MyTag *>{urgent}; });
    {
        SyncWriteScope scope(c);
        scope.write(task, {{QStringLiteral("guid"), QStringLiteral("g-1")},
                           {QStringLiteral("updated"), qlonglong(5000)},
                           {QStringLiteral("notebook"), SyncWriteScope::toOne(work)},
                           {QStringLiteral("tags"), SyncWriteScope::toMany(QList<MyTag *>{urgent})}});
    }
    // Every key before any write, every key after all the writes.
    const QStringList keys = QStringLiteral("Buy oat milk.guid,Buy oat milk.updated,Buy oat milk.notebook,Inbox.notes,"
                                            "Work.notes,Buy oat milk.tags,home.notes,urgent.notes").split(u',');
    QStringList expected;
    for (const char *when : {"will ", "did "}) {
        for (const QString &key : keys)
            expected << QLatin1String(when) + key;
    }
    EXPECT_EQ(announced.log, expected);
    EXPECT_EQ(outOfStep, 0);

    EXPECT_EQ(task->notebook(), work);
    EXPECT_EQ(task->tags(), QList<MyTag *>{urgent});
    EXPECT_EQ(work->notes(), QList<MyNote *>{task});
    EXPECT_TRUE(home->notes().isEmpty());
    EXPECT_EQ(task->updated(), 5000) << "not restamped";
    for (size_t i = 0; i < touched.size(); ++i) {
        EXPECT_FALSE(touched[i]->value(QStringLiteral("needUpdate")).toBool()) << label(touched[i]).toStdString();
        EXPECT_EQ(touched[i]->changeCount(), counts[i]) << label(touched[i]).toStdString();
    }

    // The user's Undo takes back the user's edit, and only it.
    undo->undo();
    EXPECT_EQ(task->title(), QStringLiteral("Buy milk"));
    EXPECT_EQ(task->guid(), QStringLiteral("g-1"));
    EXPECT_EQ(task->notebook(), work);
    EXPECT_FALSE(undo->canUndo());

    store.reopen();
    auto *reread = static_cast<MyNote *>(store.context().fetch(QStringLiteral("MyNote")).value(0));
    ASSERT_TRUE(reread && reread->notebook() && reread->tags().size() == 1);
    EXPECT_EQ(QStringList({reread->guid(), reread->notebook()->name(), reread->tags().first()->name()}),
              QStringList({QStringLiteral("g-1"), QStringLiteral("Work"), QStringLiteral("urgent")}));
}

// What a write-back relies on: a user's edit between the conversion and the write-back shows in
// the counter, and an undone edit stays marked for upload even when a run cleared the mark.
TEST(StoreSyncWriteTest, TheChangeCounterRisesWithEveryUserEditAndItsUndoAndRedo)
{
    TempStore store;
    ManagedObjectContext &c = store.context();
    MyNotebook *inbox = store.firstNotebook();
    MyNotebook *work = store.notebook(QStringLiteral("Work"));
    MyTag *tag = store.tag(QStringLiteral("home"));
    MyNote *task = store.task(QStringLiteral("Buy milk"), inbox);
    MyNote *other = store.task(QStringLiteral("Call Ana"), inbox);

    // Each edit and the object whose counter it must raise.
    const std::vector<std::tuple<const char *, ManagedObject *, std::function<void()>>> edits{
        {"setTitle", task, [&] { task->setTitle(QStringLiteral("Buy oat milk")); }},
        {"setNotebook", task, [&] { task->setNotebook(work); }},
        {"addTagsObject", task, [&] { task->addTagsObject(tag); }},
        {"MyTag setDeleted", tag, [&] { tag->setDeleted(true); }},
        {"MyTag addNotes", tag, [&] { tag->addNotes({other}); }},
        {"raw write", task, [&] { task->setValue(QStringLiteral("mysorter"), 9); }},
    };
    for (const auto &[name, edited, edit] : edits) {
        const quint64 was = edited->changeCount();
        edit();
        EXPECT_GT(edited->changeCount(), was) << name;
    }

    // Synced, edited, uploaded and cleared by the run; then the user takes the edit back.
    UndoManager *undo = c.undoManager();
    undo->removeAllActions();
    {
        SyncWriteScope scope(c);
        scope.write(task, {{QStringLiteral("needUpdate"), false}});
    }
    undo->beginUndoGrouping();
    task->setTitle(QStringLiteral("Buy soy milk"));
    undo->endUndoGrouping();
    {
        SyncWriteScope scope(c);
        scope.write(task, {{QStringLiteral("needUpdate"), false}});
    }
    for (auto replay : {&UndoManager::undo, &UndoManager::redo}) {
        const quint64 was = task->changeCount();
        (undo->*replay)();
        EXPECT_GT(task->changeCount(), was);
        EXPECT_TRUE(task->needUpdate()) << "the service holds another title than the task";
    }
    EXPECT_EQ(task->title(), QStringLiteral("Buy soy milk"));
}

// Programming errors fail loudly, so that a synchronisation hop rethrows them on the worker and
// the run ends, and they change nothing: not a value, not an announcement.
TEST(StoreSyncWriteTest, UnknownKeysAndWritesPastTheSyncScopeThrowAndChangeNothing)
{
    TempStore store;
    ManagedObjectContext &c = store.context();
    MyNotebook *inbox = store.firstNotebook();
    MyTag *tag = store.tag(QStringLiteral("home"));
    MyNote *task = store.task(QStringLiteral("Buy milk"), inbox);
    const quint64 counted = task->changeCount();
    const std::vector<std::pair<const char *, std::function<void(SyncWriteScope &)>>> refused{
        {"read of an unknown key", [&](SyncWriteScope &) { (void)task->value(QStringLiteral("titel")); }},
        {"setter in the scope", [&](SyncWriteScope &) { task->setTitle(QStringLiteral("x")); }},
        {"raw write in the scope", [&](SyncWriteScope &) { task->setValue(QStringLiteral("guid"), QStringLiteral("x")); }},
        {"insert past the scope", [&](SyncWriteScope &s) { s.context().insert<MyTag>(); }},
        {"unknown key after a good one",
         [&](SyncWriteScope &s) {
             s.write(task, {{QStringLiteral("title"), QStringLiteral("x")}, {QStringLiteral("titel"), QStringLiteral("x")}});
         }},
        {"to-many given one object", [&](SyncWriteScope &s) { s.write(task, {{QStringLiteral("tags"), SyncWriteScope::toOne(tag)}}); }},
    };
    for (const auto &[name, attempt] : refused) {
        Announcements announced(c);
        {
            SyncWriteScope scope(c);
            EXPECT_THROW(attempt(scope), std::logic_error) << name;
        }
        EXPECT_TRUE(announced.log.isEmpty()) << name;
        EXPECT_EQ(task->title(), QStringLiteral("Buy milk")) << name;
        EXPECT_EQ(task->notebook(), inbox) << name;
        EXPECT_TRUE(task->tags().isEmpty()) << name;
        EXPECT_EQ(task->changeCount(), counted) << name;
    }
    EXPECT_EQ(c.count(QStringLiteral("MyTag")), 1);
    EXPECT_THROW(task->setValue(QStringLiteral("titel"), 1), std::logic_error) << "outside a scope too";
}
