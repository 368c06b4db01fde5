#include "core/Localized.h"
#include "core/store/MyNote.h"
#include "core/store/MyTag.h"
#include "tests/ui/AppTest.h"
#include "ui/MyNotesArrayController.h"
#include "ui/NotesViewController.h"
#include "ui/TaskEditSheet.h"
#include "ui_NotesView.h"
#include "ui_TaskEditSheet.h"

#include <QAction>
#include <QLineEdit>
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
        ASSERT_NE(context, nullptr);
        auto *inbox = static_cast<MyNotebook *>(context->fetch(QLatin1String(MyNotebook::entityName)).first());
        auto *home = context->insert<MyTag>();
        home->setName(QStringLiteral("home"));
        auto *urgent = context->insert<MyTag>();
        urgent->setName(QStringLiteral("urgent"));
        for (const char *title : {"buy milk", "call Ana", "pay rent"}) {
            auto *task = context->insert<MyNote>();
            task->setTitle(QString::fromLatin1(title));
            task->setNotebook(inbox);
        }
        // Found by its second tag only.
        auto *boiler = context->insert<MyNote>();
        boiler->setTitle(QStringLiteral("fix the boiler"));
        boiler->setNotebook(inbox);
        boiler->addTags({home, urgent});
        AppError error;
        ASSERT_TRUE(context->save(&error)) << error.text().toStdString();
    }
    void TearDown() override { Localized::setLanguage(QString()); }

    static QStringList titles(NotesViewController *view)
    {
        QStringList result;
        for (ManagedObject *o : view->taskList()->arrangedObjects())
            result << static_cast<MyNote *>(o)->title();
        return result;
    }
};
} // namespace

TEST_F(TaskListInWindowTest, HidingTheSearchBarClearsItsFilterAndTheCommandFollowsTheBar)
{
    auto app = launch();
    MainWindow *window = app->window();
    NotesViewController *view = app->notesViewController();
    QLineEdit *field = view->ui().searchField;
    QAction *search = window->searchMenuItem();
    const QString show = Localized::string(QStringLiteral("SHOW_SEARCH"));
    const QString hide = Localized::string(QStringLiteral("HIDE_SEARCH"));
    ASSERT_EQ(view->numberOfTasksInArray(), 4);
    EXPECT_EQ(search->text(), show);

    // Shown and hidden by the window's command.
    search->trigger();
    EXPECT_EQ(search->text(), hide);
    ASSERT_TRUE(waitUntil([&] { return field->isVisible(); }));
    QTest::keyClicks(field, QStringLiteral("URGENT"));
    EXPECT_EQ(titles(view), QStringList{QStringLiteral("fix the boiler")}) << "a task is found by its second tag";
    search->trigger();
    EXPECT_EQ(search->text(), show);
    EXPECT_EQ(view->numberOfTasksInArray(), 4) << "no filter stays behind a hidden bar";
    EXPECT_TRUE(field->text().isEmpty());

    // Hidden with Escape in the field: the command's title follows too.
    search->trigger();
    ASSERT_TRUE(waitUntil([&] { return field->isVisible(); }));
    QTest::keyClicks(field, QStringLiteral("rent"));
    EXPECT_EQ(view->numberOfTasksInArray(), 1);
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(view->isSearchFieldShown());
    EXPECT_FALSE(view->searchBarActive());
    EXPECT_EQ(search->text(), show);
    EXPECT_EQ(view->numberOfTasksInArray(), 4);
    EXPECT_TRUE(waitUntil([&] { return field->isHidden(); }));

    // Twice in quick succession, before the bar has finished sliding: shown again.
    search->trigger();
    search->trigger();
    search->trigger();
    EXPECT_TRUE(view->isSearchFieldShown());
    EXPECT_EQ(search->text(), hide);
    EXPECT_TRUE(waitUntil([&] { return field->isVisible() && field->maximumHeight() > 0; }));
}

TEST_F(TaskListInWindowTest, CancellingTheEditorOfANewTaskRemovesItAndNothingElse)
{
    auto app = launch();
    MainWindow *window = app->window();
    NotesViewController *view = app->notesViewController();
    TaskEditSheet *sheet = view->editSheet();
    ManagedObjectContext *context = view->managedObjectContext();
    const auto newTasks = [&] {
        return context->fetch(QLatin1String(MyNote::entityName),
                              Predicate::withFormat(QStringLiteral("title == %@"), {Localized::string(QStringLiteral("NEW_TASK"))}));
    };

    // Ctrl+N, then Cancel; Ctrl+N, then Escape; Ctrl+N, then the window's close button.
    for (int way = 0; way < 3; ++way) {
        window->action(MainWindow::AddObject)->trigger();
        ASSERT_TRUE(sheet->isVisible());
        EXPECT_EQ(view->numberOfTasksInArray(), 5);
        if (way == 0)
            sheet->ui().buttons->button(QDialogButtonBox::Cancel)->click();
        else if (way == 1)
            QTest::keyClick(sheet->ui().titleField, Qt::Key_Escape);
        else
            sheet->close();
        EXPECT_FALSE(sheet->isVisible());
        EXPECT_EQ(view->numberOfTasksInArray(), 4) << "way " << way;
        EXPECT_TRUE(newTasks().isEmpty()) << "way " << way;
    }

    // Saved, a new task stays; cancelling a later edit of it keeps it.
    window->action(MainWindow::AddObject)->trigger();
    sheet->ui().titleField->setText(QStringLiteral("water the plants"));
    sheet->ui().buttons->button(QDialogButtonBox::Save)->click();
    MyNote *plants = sheet->task();
    ASSERT_NE(plants, nullptr);
    EXPECT_FALSE(plants->isDeleted());
    window->action(MainWindow::EditObject)->trigger();
    ASSERT_EQ(sheet->task(), plants);
    sheet->ui().buttons->button(QDialogButtonBox::Cancel)->click();
    EXPECT_FALSE(plants->isDeleted());
    EXPECT_EQ(view->numberOfTasksInArray(), 5);

    // What was cancelled never reaches the file.
    ASSERT_TRUE(waitUntil([&] { return !context->hasChanges(); }));
    app.reset();
    StoreStack reopened(storeFolder());
    const auto titles = [&] {
        QStringList t;
        for (ManagedObject *o : reopened.managedObjectContext()->fetch(QLatin1String(MyNote::entityName)))
            t << static_cast<MyNote *>(o)->title();
        t.sort();
        return t;
    }();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("buy milk"), QStringLiteral("call Ana"), QStringLiteral("fix the boiler"),
                                   QStringLiteral("pay rent"), QStringLiteral("water the plants")}));
}
