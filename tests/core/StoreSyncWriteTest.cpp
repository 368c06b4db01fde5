#include "core/store/ManagedObjectModel.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "core/store/SyncWriteScope.h"
#include "tests/support/TempStore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

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

    for (ManagedObject *o : std::initializer_list<ManagedObject *>{task, inbox, work, home, urgent}) {
        SyncWriteScope scope(c);
        scope.write(o, {{QStringLiteral("needUpdate"), false}});
    }
    const std::vector<ManagedObject *> touched{task, inbox, work, home, urgent};
    std::vector<quint64> counts;
    for (ManagedObject *o : touched)
        counts.push_back(o->changeCount());

    Announcements announced(c);
    // What the announcements see of the task: nothing written yet before, everything after.
    int announcedEarly = 0;
    int announcedLate = 0;
    QObject::connect(&c, &ManagedObjectContext::objectWillChange, &announced.receiver,
                     [&] { announcedLate += !task->guid().isEmpty(); });
    QObject::connect(&c, &ManagedObjectContext::objectChanged, &announced.receiver,
                     [&] { announcedEarly += task->tags() != QList<MyTag *>{urgent}; });
    {
        SyncWriteScope scope(c);
        scope.write(task, {{QStringLiteral("guid"), QStringLiteral("g-1")},
                           {QStringLiteral("updated"), qlonglong(5000)},
                           {QStringLiteral("notebook"), SyncWriteScope::toOne(work)},
                           {QStringLiteral("tags"), SyncWriteScope::toMany(QList<MyTag *>{urgent})}});
    }
    const QStringList keys{QStringLiteral("Buy oat milk.guid"), QStringLiteral("Buy oat milk.updated"),
                           QStringLiteral("Buy oat milk.notebook"), QStringLiteral("Inbox.notes"),
                           QStringLiteral("Work.notes"), QStringLiteral("Buy oat milk.tags"),
                           QStringLiteral("home.notes"), QStringLiteral("urgent.notes")};
    // Every key before any write, every key after all the writes.
    QStringList expected;
    for (const char *when : {"will", "did"}) {
        for (const QString &key : keys)
            expected << QLatin1String(when) + u' ' + key;
    }
    EXPECT_EQ(announced.log, expected);
    EXPECT_EQ(announcedLate, 0);
    EXPECT_EQ(announcedEarly, 0);

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
    const auto saved = store.context().fetch(QStringLiteral("MyNote"));
    ASSERT_EQ(saved.size(), 1);
    auto *reread = static_cast<MyNote *>(saved.first());
    EXPECT_EQ(reread->guid(), QStringLiteral("g-1"));
    ASSERT_TRUE(reread->notebook());
    EXPECT_EQ(reread->notebook()->name(), QStringLiteral("Work"));
    ASSERT_EQ(reread->tags().size(), 1);
    EXPECT_EQ(reread->tags().first()->name(), QStringLiteral("urgent"));
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
        {"setNotebook, the notebook left", work, [&] { task->setNotebook(inbox); }},
        {"addTagsObject", task, [&] { task->addTagsObject(tag); }},
        {"MyNotebook setName", work, [&] { work->setName(QStringLiteral("Office")); }},
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
    // A model out of step with the typed classes.
    QFile resource(QString::fromLatin1(ManagedObjectModel::defaultResource));
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
    QJsonObject root = QJsonDocument::fromJson(resource.readAll()).object();
    QJsonArray entities = root.value(QStringLiteral("entities")).toArray();
    for (qsizetype i = 0; i < entities.size(); ++i) {
        QJsonObject entity = entities[i].toObject();
        if (entity.value(QStringLiteral("name")) != QStringLiteral("MyNote"))
            continue;
        QJsonArray attributes;
        for (const QJsonValue &a : entity.value(QStringLiteral("attributes")).toArray()) {
            if (a.toObject().value(QStringLiteral("name")) != QStringLiteral("content"))
                attributes.append(a);
        }
        entity.insert(QStringLiteral("attributes"), attributes);
        entities[i] = entity;
    }
    root.insert(QStringLiteral("entities"), entities);
    auto model = ManagedObjectModel::fromJson(QJsonDocument(root).toJson());
    ASSERT_TRUE(model);
    ManagedObjectContext bare(model, nullptr);
    MyNote *contentless = bare.insert<MyNote>();
    try {
        (void)contentless->simpleNote();
        ADD_FAILURE() << "no exception";
    } catch (const std::logic_error &e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("MyNote")));
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("content")));
    }

    TempStore store;
    ManagedObjectContext &c = store.context();
    MyNotebook *inbox = store.firstNotebook();
    MyTag *tag = store.tag(QStringLiteral("home"));
    MyNote *task = store.task(QStringLiteral("Buy milk"), inbox);
    const quint64 counted = task->changeCount();
    const std::vector<std::pair<const char *, std::function<void(SyncWriteScope &)>>> refused{
        {"read of an unknown key", [&](SyncWriteScope &) { (void)task->value(QStringLiteral("titel")); }},
        {"read of a to-many by value", [&](SyncWriteScope &) { (void)task->value(QStringLiteral("tags")); }},
        {"setter in the scope", [&](SyncWriteScope &) { task->setTitle(QStringLiteral("x")); }},
        {"raw write in the scope", [&](SyncWriteScope &) { task->setValue(QStringLiteral("guid"), QStringLiteral("x")); }},
        {"insert past the scope", [&](SyncWriteScope &s) { s.context().insert<MyTag>(); }},
        {"unknown key after a good one",
         [&](SyncWriteScope &s) {
             s.write(task, {{QStringLiteral("title"), QStringLiteral("x")}, {QStringLiteral("titel"), QStringLiteral("x")}});
         }},
        {"to-one given a text",
         [&](SyncWriteScope &s) { s.write(task, {{QStringLiteral("notebook"), QStringLiteral("nb-1")}}); }},
        {"to-one given a tag", [&](SyncWriteScope &s) { s.write(task, {{QStringLiteral("notebook"), SyncWriteScope::toOne(tag)}}); }},
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
