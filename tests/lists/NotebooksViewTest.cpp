#include "core/Localized.h"
#include "core/store/MyNotebook.h"
#include "tests/support/ViewTest.h"
#include "ui/MyNotebookTableView.h"
#include "ui/NamedObjectArrayController.h"
#include "ui/NotebooksViewController.h"
#include "ui_NotebooksView.h"

#include <QAbstractItemModelTester>

namespace {
using NotebooksViewTest = ViewTest;

QString text(const char *key)
{
    return Localized::string(QLatin1String(key));
}
} // namespace

TEST_F(NotebooksViewTest, ANewNotebookOpensItsNameAndARenameIsCheckedOnlyAgainstTheListedNotebooks)
{
    MyNotebook *inbox = store.firstNotebook();
    MyNotebook *work = store.notebook(QStringLiteral("Work"));
    store.notebook(QStringLiteral("Old, done"))->setDeleted(true);
    MyNote *task = store.task(QStringLiteral("Call the bank"), inbox);
    NotebooksViewController view(&store.context());
    QAbstractItemModelTester tester(view.list(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    auto window = showInWindow(view);
    NamedObjectArrayController *list = view.list();
    forwardNameChanges(view);
    NotificationRecorder saves(QStringLiteral("saveDataToDisk"));
    const auto renamed = [&](ManagedObject *notebook, const QString &name) {
        rename(view.table(), list->indexOf(notebook), name);
        return NamedObjectArrayController::name(notebook);
    };

    view.newObjectNotification();
    ManagedObject *added = list->firstSelectedObject();
    auto *editor = qobject_cast<QLineEdit *>(
        view.table()->indexWidget(list->index(list->indexOf(added), NamedObjectArrayController::NameColumn)));
    ASSERT_NE(editor, nullptr) << "the new name opens for typing at once";
    QTest::keyClick(editor, Qt::Key_Escape);
    // The name of a deleted notebook is free, a comma is no tag's, and names differing in letter
    // case are different.
    EXPECT_EQ(renamed(work, QStringLiteral("Old, done")), QStringLiteral("Old, done"));
    EXPECT_EQ(renamed(inbox, QStringLiteral("old, done")), QStringLiteral("old, done"));
    // The same name as another listed notebook is undone, stamps and all, and reported.
    const qint64 stamped = work->serviceUpdated();
    EXPECT_EQ(renamed(work, QStringLiteral("old, done")), QStringLiteral("Old, done"));
    EXPECT_EQ(work->serviceUpdated(), stamped);
    EXPECT_FALSE(answerAlert(QStringLiteral("OK")).isEmpty());

    // While the search bar narrows the list, only the notebooks it shows are compared.
    view.setSearchBarActive(true); // as the window's search command does
    view.showSearchField();
    QTest::keyClicks(view.searchField(), text("NEW_NOTEBOOK"));
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(renamed(added, QStringLiteral(" old, done ")), QStringLiteral("old, done")) << "without the spaces at its ends";
    EXPECT_EQ(saves.count(), 3) << "one save for each rename taken, none for the refused one";
    // Escape hides the bar, and with it the filter it held.
    QTest::keyClick(view.searchField(), Qt::Key_Escape);
    EXPECT_FALSE(view.searchBarActive());
    EXPECT_EQ(list->count(), 3);

    // An edit that ends without a new name checks nothing, though two listed notebooks now
    // share a name, and so undoes nothing: here the last change is a task's.
    QCoreApplication::processEvents();
    task->setTitle(QStringLiteral("Call the bank today"));
    const QModelIndex inboxName = list->index(list->indexOf(inbox), NamedObjectArrayController::NameColumn);
    view.table()->edit(inboxName);
    ASSERT_NE(view.table()->indexWidget(inboxName), nullptr);
    QTest::keyClick(view.table()->indexWidget(inboxName), Qt::Key_Escape);
    EXPECT_EQ(task->title(), QStringLiteral("Call the bank today"));
    EXPECT_EQ(visibleAlert(), nullptr);
}

TEST_F(NotebooksViewTest, DeletingNotebooksNeverLosesATask)
{
    MyNotebook *only = store.firstNotebook();
    only->setValue(QStringLiteral("guid"), QStringLiteral("nb-only"));
    MyNote *first = store.task(QStringLiteral("first"), only);
    NotebooksViewController view(&store.context());
    auto window = showInWindow(view);
    ArrayController *list = view.list();
    // Delete and Backspace on the table ask to delete the selection.
    const auto remove = [&](const QList<ManagedObject *> &notebooks, const char *button = "DELETE", Qt::Key key = Qt::Key_Delete) {
        list->setSelectedObjects(notebooks);
        QTest::keyClick(view.table(), key);
        return answerAlert(text(button));
    };
    NotificationRecorder posts({QStringLiteral("saveDataToDisk"), QStringLiteral("tasksDeleted"),
                                QStringLiteral("notebookArrayChanged"), QStringLiteral("ShowDockTile")});

    // The only notebook, synchronised, with no other to take its tasks: it stays, marked deleted.
    remove({only}, "CANCEL");
    EXPECT_FALSE(only->deleted()) << "cancelling deletes nothing";
    remove({only});
    EXPECT_TRUE(only->deleted() && !only->isDeleted());
    EXPECT_TRUE(first->notebook() == only && first->active());
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(posts.names(&view), (QStringList{QStringLiteral("saveDataToDisk"), QStringLiteral("tasksDeleted"),
                                               QStringLiteral("notebookArrayChanged"), QStringLiteral("ShowDockTile")}));

    // A synchronised notebook's tasks go, in the trash, to the notebook the setting names.
    MyNotebook *work = store.notebook(QStringLiteral("Work"));
    work->setValue(QStringLiteral("guid"), QStringLiteral("nb-work"));
    MyNotebook *home = store.notebook(QStringLiteral("Home"));
    home->setValue(QStringLiteral("guid"), QStringLiteral("nb-home"));
    MyNotebook *errands = store.notebook(QStringLiteral("Errands"));
    MyNote *report = store.task(QStringLiteral("report"), work);
    MyNote *milk = store.task(QStringLiteral("milk"), errands);
    Defaults::standardUserDefaults().setObject(Key::defaultNotebook, QStringLiteral("nb-home"));
    view.rearrangeArrayController();
    remove({work});
    EXPECT_TRUE(work->deleted() && !work->isDeleted()) << "kept until synchronisation deletes it on the service";
    EXPECT_TRUE(report->notebook() == home && !report->active());
    // A notebook never synchronised leaves the store, and its tasks go to the trash as well.
    remove({errands}, "DELETE", Qt::Key_Backspace);
    EXPECT_TRUE(errands->isDeleted());
    EXPECT_TRUE(milk->notebook() == home && !milk->active());

    // Notebooks deleted together, the setting's one too, pass their tasks to the first other one listed.
    MyNotebook *books = store.notebook(QStringLiteral("Books"));
    MyNotebook *xmas = store.notebook(QStringLiteral("Xmas"));
    MyNote *gifts = store.task(QStringLiteral("gifts"), xmas);
    view.rearrangeArrayController();
    remove({home, xmas});
    for (MyNote *task : {report, milk, gifts})
        EXPECT_TRUE(task->notebook() == books && !task->active()) << task->title().toStdString();
    EXPECT_TRUE(home->deleted() && xmas->isDeleted());

    // With none left to take their tasks, even an unsynchronised one stays, marked deleted, with its tasks.
    MyNotebook *last = store.notebook(QStringLiteral("Last"));
    store.task(QStringLiteral("last one"), last);
    view.rearrangeArrayController();
    remove({books, last});
    for (MyNotebook *kept : {books, last})
        EXPECT_TRUE(kept->deleted() && !kept->isDeleted());
    EXPECT_EQ(books->notes().size(), 3);
    EXPECT_EQ(last->notes().size(), 1);
}

// The counts are kept between arrangements; what the list shows must still follow the store.
TEST_F(NotebooksViewTest, TheHideBoxIsSavedAndAnnouncedAtOnceAndTheCountsOfActiveTasksFollowTheStore)
{
    MyNotebook *alpha = store.notebook(QStringLiteral("Alpha"));
    alpha->setValue(QStringLiteral("needUpdate"), false);
    MyNotebook *beta = store.notebook(QStringLiteral("Beta"));
    MyNote *first = store.task(QStringLiteral("first"), alpha);
    store.task(QStringLiteral("done"), alpha)->setCompleted(true);
    store.task(QStringLiteral("trashed"), alpha)->setActive(false);
    NotebooksViewController view(&store.context());
    auto window = showInWindow(view);
    NamedObjectArrayController *list = view.list();
    MyNotebookTableView *table = view.notebookTable();
    const int row = list->indexOf(alpha);
    const QRect hideCell = table->visualRect(list->index(row, NamedObjectArrayController::HideColumn));

    // The dock tile is recounted half a second later.
    NotificationRecorder posts(
        {QStringLiteral("saveDataToDisk"), QStringLiteral("notebookArrayChanged"), QStringLiteral("ShowDockTile")});
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, hideCell.center());
    EXPECT_TRUE(alpha->hide());
    EXPECT_FALSE(alpha->needUpdate()) << "hiding stays on this computer";
    EXPECT_EQ(posts.names(), (QStringList{QStringLiteral("saveDataToDisk"), QStringLiteral("notebookArrayChanged")}));
    ASSERT_TRUE(waitUntil([&] { return posts.count(QStringLiteral("ShowDockTile")) == 1; }));

    const auto count = [&](MyNotebook *notebook) {
        return list->index(list->indexOf(notebook), NamedObjectArrayController::CountColumn).data().toInt();
    };
    EXPECT_EQ(count(alpha), 2);
    EXPECT_EQ(count(beta), 0);
    first->setActive(false);
    EXPECT_EQ(count(alpha), 1) << "a trashed task is no longer counted";
    first->setActive(true);
    first->setNotebook(beta);
    EXPECT_EQ(count(alpha), 1);
    EXPECT_EQ(count(beta), 1);
    store.task(QStringLiteral("third"), alpha);
    EXPECT_EQ(count(alpha), 2) << "a new task is counted at once";
}
