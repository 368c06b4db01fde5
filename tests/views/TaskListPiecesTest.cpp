#include "core/store/MyNotebook.h"
#include "tests/support/RecordingErrorPresenter.h"
#include "tests/support/ViewTest.h"
#include "ui/MyBoxDrop.h"
#include "ui/MyNoteTableView.h"
#include "ui/MyNotesArrayController.h"
#include "ui/MyNotesTableViewCanMoveProtocol.h"
#include "ui/NotesViewController.h"
#include "ui/TaskCompletion.h"
#include "ui_NotesView.h"

#include <QFile>
#include <QMimeData>

namespace {
struct Mover : MyNotesTableViewCanMoveProtocol
{
    bool allowed = true;
    bool canMove() const override { return allowed; }
};

using TaskListPiecesTest = ViewTest;
} // namespace

TEST_F(TaskListPiecesTest, DraggingOneRowRenumbersTheHandKeptOrderAndNothingElseIsDropped)
{
    EXPECT_EQ(MyNotesArrayController::renumbered(4, 1, 6), (QList<int>{0, 2, 3, 4, 1, 5}));
    EXPECT_EQ(MyNotesArrayController::renumbered(0, 6, 6), (QList<int>{5, 0, 1, 2, 3, 4})) << "to the end";

    MyNotebook *inbox = store.firstNotebook();
    for (int i = 0; i < 6; ++i)
        store.task(QStringLiteral("t%1").arg(i), inbox)->setValue(QStringLiteral("needUpdate"), false);
    Mover mover;
    MyNotesArrayController tasks;
    tasks.setCanMoveDelegate(&mover);
    tasks.setManagedObjectContext(&store.context());
    tasks.setSortDescriptors({SortDescriptor(QStringLiteral("mysorter"))});
    tasks.setContentRelationship(inbox, QStringLiteral("notes"));

    std::unique_ptr<QMimeData> one(tasks.mimeData({tasks.index(1)}));
    std::unique_ptr<QMimeData> two(tasks.mimeData({tasks.index(1), tasks.index(2)}));
    mover.allowed = false;
    EXPECT_FALSE(tasks.canDropMimeData(one.get(), Qt::MoveAction, 4, 0, {})) << "only in the hand-kept order";
    mover.allowed = true;
    EXPECT_FALSE(tasks.canDropMimeData(two.get(), Qt::MoveAction, 4, 0, {})) << "one row at a time";

    NotificationRecorder saves(QStringLiteral("saveDataToDisk"));
    EXPECT_TRUE(tasks.dropMimeData(one.get(), Qt::MoveAction, 4, 0, {})); // the moving-down case
    EXPECT_EQ(saves.count(), 1);
    tasks.rearrangeObjects();
    EXPECT_EQ(titles(tasks), QStringLiteral("t0, t2, t3, t1, t4, t5"));
    for (int row = 0; row < 6; ++row) {
        auto *task = static_cast<MyNote *>(tasks.objectAt(row));
        EXPECT_EQ(task->mysorter(), row);
        EXPECT_FALSE(task->needUpdate()) << "the hand-kept order stays local";
    }
}

TEST_F(TaskListPiecesTest, TheTableTogglesCompletionFromTheBallOnlyAndTheDropBoxAsksToMoveTheRows)
{
    store.task(QStringLiteral("one"));
    store.task(QStringLiteral("two"));
    NotesViewController view(&store.context());
    const auto window = showInWindow(view);
    MyNoteTableView *table = view.ui().taskTable;

    NotificationRecorder complete(QStringLiteral("completedTasks")), edit(QStringLiteral("EditSelectedTask"));
    const QRect row = table->visualRect(view.taskList()->index(1));
    const int middle = row.top() + row.height() / 2;
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(35, middle));
    EXPECT_EQ(complete.senders(), QList<const void *>{table}) << "x = 35 on the middle of the selected row";
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(36, middle));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(25, middle + 9));
    EXPECT_EQ(complete.count(), 1) << "outside the hot spot a click only selects";
    QTest::keyClick(table, Qt::Key_Space);
    EXPECT_EQ(complete.count(), 2);
    QTest::keyClick(table, Qt::Key_Return);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, QPoint(200, middle));
    EXPECT_EQ(edit.count(), 2);

    MyBoxDrop box;
    QMimeData data;
    data.setData(QString::fromLatin1(MyNotesArrayController::dragType), MyNotesArrayController::archiveRows({3, 1}));
    QDragEnterEvent enter(QPoint(10, 10), Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&box, &enter);
    NotificationRecorder move(QStringLiteral("moveTasks"));
    QDropEvent drop(QPointF(10, 10), Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&box, &drop);
    EXPECT_EQ(move.lastInfo(QStringLiteral("Indexes")).value<QList<int>>(), (QList<int>{1, 3}));
}

TEST_F(TaskListPiecesTest, CompletingMovesOnlyNewlyCompletedTasksToTheChosenNotebook)
{
    Defaults &defaults = Defaults::standardUserDefaults();
    MyNotebook *inbox = store.firstNotebook();
    MyNotebook *done = store.notebook(QStringLiteral("Done"));
    MyNote *task = store.task(QStringLiteral("write report"), inbox);
    MyNote *reopened = store.task(QStringLiteral("already done"), inbox);
    reopened->setCompleted(true);
    defaults.setBool(Key::enableNotebookForCompleted, true);
    defaults.setObject(Key::notebookForCompleted, QStringLiteral("Done"));
    NotificationRecorder saves(QStringLiteral("saveDataToDisk"));
    TaskCompletion::markTasksAsCompleted(&store.context(), {task, reopened}, &store);
    EXPECT_TRUE(task->completed());
    EXPECT_EQ(task->notebook(), done);
    EXPECT_FALSE(reopened->completed());
    EXPECT_EQ(reopened->notebook(), inbox) << "a task being reopened stays where it is";
    EXPECT_EQ(saves.count(), 1);

    defaults.setObject(Key::notebookForCompleted, QStringLiteral("Nowhere"));
    MyNote *other = store.task(QStringLiteral("other"), inbox);
    TaskCompletion::markTasksAsCompleted(&store.context(), {other}, &store);
    EXPECT_EQ(other->notebook(), inbox) << "no such notebook: the task stays";

    // A store of another model, whose notebooks go by another entity name: the lookup cannot
    // be answered, and the tasks still complete.
    QFile resource(QStringLiteral(":/model/Kelvara.json"));
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
    QByteArray json = resource.readAll();
    json.replace("\"MyNotebook\"", "\"Notebook\"");
    ManagedObjectContext foreign(ManagedObjectModel::fromJson(json), nullptr);
    auto *stranded = foreign.insert<MyNote>();
    RecordingErrorPresenter errors;
    TaskCompletion::markTasksAsCompleted(&foreign, {stranded}, &foreign);
    EXPECT_TRUE(stranded->completed());
    EXPECT_EQ(errors.errors().size(), 1);
}
