#include "tests/lists/ListsTest.h"

#include "core/Localized.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "ui/ArrayController.h"
#include "ui/TrashViewController.h"

namespace {
MyNote *trashed(TempStore &store, const QString &title, MyNotebook *notebook = nullptr)
{
    MyNote *task = store.task(title, notebook);
    task->setActive(false);
    return task;
}
} // namespace

TEST_F(ListsTest, RestoringPutsTasksBackWhereAViewCanReachThem)
{
    MyNotebook *inbox = store.firstNotebook();
    MyNotebook *hidden = store.notebook(QStringLiteral("Someday"));
    hidden->setValue(QStringLiteral("hide"), true);
    MyNotebook *gone = store.notebook(QStringLiteral("Gone"));
    MyNote *dream = trashed(store, QStringLiteral("b dream"), hidden);
    MyNote *orphan = trashed(store, QStringLiteral("a orphan"), gone);
    gone->setDeleted(true);
    MyNote *other = trashed(store, QStringLiteral("c other"), inbox);
    store.task(QStringLiteral("live"), inbox);
    TrashViewController view(&store.context());
    auto window = showInWindow(view);
    ArrayController *list = view.taskList();
    ASSERT_EQ(list->arrangedObjects(), (QList<ManagedObject *>{orphan, dream, other})) << "the trashed tasks, by title";
    NotificationSequence posts({QStringLiteral("saveDataToDisk"), QStringLiteral("tasksRestored")});

    list->setSelectedObjects({orphan, dream});
    view.restoreTasks();
    QString message;
    EXPECT_EQ(answerAlert(Localized::string(QStringLiteral("CANCEL")), &message),
              Localized::format(QStringLiteral("SURE_RESTORE"), {2}));
    EXPECT_EQ(message, Localized::string(QStringLiteral("RESTORE")));
    EXPECT_FALSE(dream->active()) << "cancelling restores nothing";
    EXPECT_TRUE(posts.names.isEmpty());

    view.restoreTasks();
    answerAlert(Localized::string(QStringLiteral("RESTORE")));
    EXPECT_TRUE(dream->active());
    EXPECT_EQ(dream->notebook(), hidden) << "back in its notebook, which stays hidden";
    EXPECT_TRUE(hidden->hide());
    EXPECT_TRUE(orphan->active());
    EXPECT_EQ(orphan->notebook(), inbox) << "a deleted notebook is reached from no view";
    EXPECT_EQ(list->arrangedObjects(), QList<ManagedObject *>{other});
    EXPECT_EQ(posts.names, (QStringList{QStringLiteral("saveDataToDisk"), QStringLiteral("tasksRestored")}));
    EXPECT_EQ(posts.objects, (QList<const void *>{&view, &view}));

    // A task trashed in another view is listed as soon as that view says so.
    MyNote *late = store.task(QStringLiteral("d late"), inbox);
    late->setActive(false);
    NotificationCenter::defaultCenter().post(QStringLiteral("tasksDeleted"), this);
    EXPECT_EQ(list->arrangedObjects(), (QList<ManagedObject *>{other, late}));
}

TEST_F(ListsTest, ExpungingMarksSynchronisedTasksAndDeletesTheOthers)
{
    MyNote *known = trashed(store, QStringLiteral("known"));
    known->setValue(QStringLiteral("guid"), QStringLiteral("note-1"));
    MyNote *local = trashed(store, QStringLiteral("local"));
    MyNote *kept = trashed(store, QStringLiteral("kept"));
    TrashViewController view(&store.context());
    auto window = showInWindow(view);
    NotificationSequence posts({QStringLiteral("saveDataToDisk")});

    view.taskList()->setSelectedObjects({known, local});
    view.expungeTasks();
    QString message;
    EXPECT_EQ(answerAlert(Localized::string(QStringLiteral("DELETE")), &message),
              Localized::format(QStringLiteral("SURE_EXPUNGE"), {2}));
    EXPECT_EQ(message, Localized::string(QStringLiteral("DELETE")));
    EXPECT_FALSE(known->isDeleted());
    EXPECT_TRUE(known->toExpunged());
    EXPECT_TRUE(known->needUpdate()) << "sent with the next synchronisation";
    EXPECT_TRUE(local->isDeleted());
    EXPECT_EQ(view.taskList()->arrangedObjects(), QList<ManagedObject *>{kept});
    EXPECT_EQ(posts.names, QStringList{QStringLiteral("saveDataToDisk")});

    // The question promises that Undo brings them back, as the window's Undo does.
    store.context().undoManager()->undo();
    EXPECT_FALSE(local->isDeleted());
    EXPECT_FALSE(known->toExpunged());
    view.rearrangeArrayController();
    EXPECT_EQ(view.taskList()->arrangedObjects(), (QList<ManagedObject *>{kept, known, local}));

    // One task is asked about in the singular.
    view.taskList()->setSelectedObjects({kept});
    view.expungeTasks();
    EXPECT_EQ(answerAlert(Localized::string(QStringLiteral("CANCEL"))), Localized::string(QStringLiteral("SURE_EXPUNGE_ONE")));
    view.restoreTasks();
    EXPECT_EQ(answerAlert(Localized::string(QStringLiteral("CANCEL"))), Localized::string(QStringLiteral("SURE_RESTORE_ONE")));

    // Without a selection neither action asks anything.
    view.taskList()->setSelectionIndexes({});
    view.expungeTasks();
    view.restoreTasks();
    EXPECT_EQ(visibleAlert(), nullptr);

    // The window's add, edit and search commands are not for this view.
    for (void (ManagingViewController::*command)() :
         {&ManagingViewController::newObjectNotification, &ManagingViewController::editObjectNotification,
          &ManagingViewController::showSearchField}) {
        (view.*command)();
        EXPECT_EQ(answerAlert(QStringLiteral("OK")), Localized::string(QStringLiteral("NOTAVAILFORVIEW")));
    }
    EXPECT_FALSE(view.searchBarActive());
}
