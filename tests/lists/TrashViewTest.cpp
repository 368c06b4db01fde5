#include "core/Localized.h"
#include "core/store/MyNotebook.h"
#include "tests/support/ViewTest.h"
#include "ui/TrashViewController.h"

namespace {
class TrashViewTest : public ViewTest
{
protected:
    MyNote *trashed(const QString &title, MyNotebook *notebook = nullptr)
    {
        MyNote *task = store.task(title, notebook);
        task->setActive(false);
        return task;
    }
    static QString text(const char *key) { return Localized::string(QLatin1String(key)); }
};
} // namespace

TEST_F(TrashViewTest, RestoringPutsTasksBackWhereAViewCanReachThemAndExpungingMarksSynchronisedOnes)
{
    MyNotebook *inbox = store.firstNotebook();
    MyNotebook *hidden = store.notebook(QStringLiteral("Someday"));
    hidden->setValue(QStringLiteral("hide"), true);
    MyNotebook *gone = store.notebook(QStringLiteral("Gone"));
    MyNote *dream = trashed(QStringLiteral("b dream"), hidden);
    MyNote *orphan = trashed(QStringLiteral("a orphan"), gone);
    gone->setDeleted(true);
    MyNote *known = trashed(QStringLiteral("c known"), inbox);
    known->setValue(QStringLiteral("guid"), QStringLiteral("note-1"));
    MyNote *kept = trashed(QStringLiteral("e kept"), inbox);
    store.task(QStringLiteral("live"), inbox);
    TrashViewController view(&store.context());
    auto window = showInWindow(view);
    ArrayController *list = view.taskList();
    ASSERT_EQ(list->arrangedObjects(), (QList<ManagedObject *>{orphan, dream, known, kept})) << "the trashed tasks, by title";
    NotificationRecorder posts({QStringLiteral("saveDataToDisk"), QStringLiteral("tasksRestored")});

    list->setSelectedObjects({orphan, dream});
    view.restoreTasks();
    answerAlert(text("CANCEL"));
    EXPECT_FALSE(dream->active()) << "cancelling restores nothing";
    view.restoreTasks();
    answerAlert(text("RESTORE"));
    EXPECT_TRUE(dream->active() && orphan->active());
    EXPECT_EQ(dream->notebook(), hidden) << "back in its notebook, which stays hidden";
    EXPECT_EQ(orphan->notebook(), inbox) << "a deleted notebook is reached from no view";
    EXPECT_EQ(list->arrangedObjects(), (QList<ManagedObject *>{known, kept}));
    EXPECT_EQ(posts.names(&view), (QStringList{QStringLiteral("saveDataToDisk"), QStringLiteral("tasksRestored")}));

    // A task trashed in another view is listed as soon as that view says so.
    MyNote *local = trashed(QStringLiteral("d local"), inbox);
    NotificationCenter::defaultCenter().post(QStringLiteral("tasksDeleted"), this);
    EXPECT_EQ(list->arrangedObjects(), (QList<ManagedObject *>{known, local, kept}));

    QCoreApplication::processEvents(); // the expunge is an undo step of its own
    list->setSelectedObjects({known, local});
    view.expungeTasks();
    answerAlert(text("DELETE"));
    EXPECT_TRUE(known->toExpunged() && !known->isDeleted());
    EXPECT_TRUE(known->needUpdate()) << "sent with the next synchronisation";
    EXPECT_TRUE(local->isDeleted());
    EXPECT_EQ(list->arrangedObjects(), QList<ManagedObject *>{kept});
    EXPECT_EQ(posts.names(&view), (QStringList{QStringLiteral("saveDataToDisk"), QStringLiteral("tasksRestored"),
                                               QStringLiteral("saveDataToDisk")}));
    // The question promises that Undo brings them back, as the window's Undo does.
    store.context().undoManager()->undo();
    EXPECT_FALSE(local->isDeleted());
    EXPECT_FALSE(known->toExpunged());
    view.rearrangeArrayController();
    EXPECT_EQ(list->arrangedObjects(), (QList<ManagedObject *>{known, local, kept}));

    // Without a selection neither action asks; the window's add command is not for this view.
    list->setSelectionIndexes({});
    view.expungeTasks();
    view.restoreTasks();
    EXPECT_EQ(visibleAlert(), nullptr);
    view.newObjectNotification();
    EXPECT_FALSE(answerAlert(QStringLiteral("OK")).isEmpty());
}
