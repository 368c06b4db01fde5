#include "core/Localized.h"
#include "core/store/MyNote.h"
#include "tests/ui/AppTest.h"
#include "ui/MyNotesArrayController.h"
#include "ui/NotesViewController.h"
#include "ui/TaskEditSheet.h"
#include "ui_NotesView.h"
#include "ui_TaskEditSheet.h"

#include <QAction>
#include <QPushButton>

namespace {
// The task list in the application's own window, driven through the window's commands.
class TaskListInWindowTest : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Localized::setLanguage(QStringLiteral("en"));
        Defaults::standardUserDefaults().setBool(Key::StartInTasksView, true);
        StoreStack store(storeFolder());
        ManagedObjectContext *context = store.managedObjectContext();
        auto *inbox = static_cast<MyNotebook *>(context->fetch(QLatin1String(MyNotebook::entityName)).first());
        for (const char *title : {"buy milk", "call Ana", "pay rent"}) {
            auto *task = context->insert<MyNote>();
            task->setTitle(QString::fromLatin1(title));
            task->setNotebook(inbox);
        }
        ASSERT_TRUE(store.saveAction());
    }
    void TearDown() override { Localized::setLanguage(QString()); }
};
} // namespace

TEST_F(TaskListInWindowTest, HidingTheSearchBarClearsItsFilterAndCancellingTheEditorOfANewTaskRemovesIt)
{
    auto app = launch();
    MainWindow *window = app->window();
    NotesViewController *view = app->notesViewController();
    QLineEdit *field = view->ui().searchField;
    QAction *search = window->searchMenuItem();

    // Hidden by the window's command, then with Escape in the field: no filter stays behind a
    // hidden bar.
    for (bool byEscape : {false, true}) {
        search->trigger();
        ASSERT_TRUE(waitUntil([&] { return field->isVisible(); }));
        QTest::keyClicks(field, QStringLiteral("RENT"));
        EXPECT_EQ(view->numberOfTasksInArray(), 1);
        if (byEscape)
            QTest::keyClick(field, Qt::Key_Escape);
        else
            search->trigger();
        EXPECT_FALSE(view->searchBarActive());
        EXPECT_EQ(view->numberOfTasksInArray(), 3);
        EXPECT_TRUE(waitUntil([&] { return field->isHidden(); }));
    }
    // Twice in quick succession, before the bar has finished sliding: shown again.
    for (int i = 0; i < 3; ++i)
        search->trigger();
    EXPECT_TRUE(view->searchBarActive());
    EXPECT_TRUE(waitUntil([&] { return field->isVisible() && field->maximumHeight() > 0; }));

    TaskEditSheet *sheet = view->editSheet();
    QPushButton *cancel = sheet->ui().buttons->button(QDialogButtonBox::Cancel);
    window->action(MainWindow::AddObject)->trigger();
    ASSERT_EQ(view->numberOfTasksInArray(), 4);
    cancel->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(view->managedObjectContext()->count(QLatin1String(MyNote::entityName)), 3);
    // Saved, a new task stays; cancelling a later edit of it keeps it.
    window->action(MainWindow::AddObject)->trigger();
    sheet->ui().titleField->setText(QStringLiteral("water the plants"));
    sheet->ui().buttons->button(QDialogButtonBox::Save)->click();
    MyNote *plants = sheet->task();
    window->action(MainWindow::EditObject)->trigger();
    ASSERT_EQ(sheet->task(), plants);
    cancel->click();
    EXPECT_FALSE(plants->isDeleted());
    EXPECT_EQ(view->numberOfTasksInArray(), 4);
}
