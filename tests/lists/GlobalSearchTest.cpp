#include "tests/lists/ListsTest.h"

#include "core/Localized.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "ui/ArrayController.h"
#include "ui/ArrayCountValueTransformer.h"
#include "ui/GlobalSearchController.h"
#include "ui/GlobalSearchControllerProtocol.h"
#include "ui/MyNoteGlobalSearchTableView.h"
#include "ui/NamedObjectArrayController.h"
#include "ui/NotebooksViewController.h"
#include "ui/TagsViewController.h"

#include "ui_GlobalSearch.h"

#include <QPushButton>

namespace {
struct SearchDelegate : GlobalSearchControllerProtocol
{
    void editSearchedObject(MyNote *task) override { edited << task; }
    void releaseSearchedObject() override { ++released; }
    QList<MyNote *> edited;
    int released = 0;
};

QStringList titles(const ArrayController *list)
{
    QStringList result;
    for (ManagedObject *o : list->arrangedObjects())
        result << static_cast<MyNote *>(o)->title();
    return result;
}
} // namespace

TEST_F(ListsTest, TheSearchListsVisibleActiveTasksByNotebookAndFindsTitlesTagsAndContent)
{
    MyNotebook *zeta = store.firstNotebook();
    zeta->setName(QStringLiteral("Zeta"));
    MyNotebook *alpha = store.notebook(QStringLiteral("Alpha"));
    MyNotebook *hidden = store.notebook(QStringLiteral("Hidden"));
    hidden->setValue(QStringLiteral("hide"), true);
    MyNote *rent = store.task(QStringLiteral("pay rent"), zeta);
    store.task(QStringLiteral("buy milk"), alpha);
    store.task(QStringLiteral("answer mail"), alpha);
    MyNote *secret = store.task(QStringLiteral("secret plan"), hidden);
    store.task(QStringLiteral("old plan"), alpha)->setActive(false);
    MyNote *call = store.task(QStringLiteral("call"), zeta);
    call->setContent(QStringLiteral("<en-note>ask about the invoice</en-note>"));
    MyTag *urgent = store.tag(QStringLiteral("Urgent"));
    secret->addTagsObject(urgent);
    rent->addTagsObject(urgent);

    SearchDelegate delegate;
    GlobalSearchController search(QRect(100, 100, 480, 520), &store.context(), &delegate);
    QLineEdit *field = search.ui().searchField;
    // Without a text: no trashed task, none of a hidden notebook, by notebook name then title.
    EXPECT_EQ(titles(search.taskList()),
              (QStringList{QStringLiteral("answer mail"), QStringLiteral("buy milk"), QStringLiteral("call"), QStringLiteral("pay rent")}));

    // A tag's name finds its tasks in every notebook, a hidden one's too once a text is typed.
    QTest::keyClicks(field, QStringLiteral("URG"));
    EXPECT_EQ(titles(search.taskList()), (QStringList{QStringLiteral("secret plan"), QStringLiteral("pay rent")}));
    field->setText(QStringLiteral("plan"));
    EXPECT_EQ(titles(search.taskList()), QStringList{QStringLiteral("secret plan")}) << "never a trashed task";

    // A task's content is searched only when the setting says so.
    field->setText(QStringLiteral("invoice"));
    EXPECT_TRUE(titles(search.taskList()).isEmpty());
    Defaults::standardUserDefaults().setBool(Key::SearchInContent, true);
    field->setText(QStringLiteral("INVOICE"));
    EXPECT_EQ(titles(search.taskList()), QStringList{QStringLiteral("call")});

    field->clear();
    EXPECT_EQ(search.taskList()->count(), 4);
    EXPECT_EQ(search.taskList()->filterPredicate().format(), search.notActivePredicate().format());
}

TEST_F(ListsTest, TheSearchRunsModallyHandsOverADoubleClickedTaskAndEndsOnEscapeOrReturn)
{
    MyNote *task = store.task(QStringLiteral("pay rent"));
    SearchDelegate delegate;
    QWidget mainWindow;
    mainWindow.setGeometry(QRect(120, 140, 500, 480));
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));

    auto *search = new GlobalSearchController(mainWindow.geometry(), &store.context(), &delegate, &mainWindow);
    EXPECT_EQ(search->windowTitle(), Localized::string(QStringLiteral("GLOBALSEARCH")));
    EXPECT_EQ(search->ui().returnButton->text(), Localized::string(QStringLiteral("RETURN")));
    MyNoteGlobalSearchTableView *table = search->ui().resultTable;
    EXPECT_EQ(table->tableDelegate(), search);
    bool ran = false;
    QTimer::singleShot(0, search, [&] {
        ran = true;
        EXPECT_EQ(QApplication::activeModalWidget(), search);
        EXPECT_EQ(search->geometry(), mainWindow.geometry());
        EXPECT_EQ(search->focusWidget(), search->ui().searchField);

        // A double click with nothing selected hands nothing over.
        // (A double click is a click, then the double-click event.)
        const QPoint below(100, table->viewport()->height() - 4);
        search->taskList()->setSelectionIndexes({});
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, below);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, below);
        EXPECT_TRUE(delegate.edited.isEmpty());
        // On a result it hands the task over, and the search stays.
        EXPECT_TRUE(waitUntil([&] { return table->visualRect(search->taskList()->index(0)).isValid(); }));
        const QPoint onTask = table->visualRect(search->taskList()->index(0)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, onTask);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, onTask);
        EXPECT_EQ(delegate.edited, QList<MyNote *>{task});
        EXPECT_EQ(delegate.released, 0);
        EXPECT_TRUE(search->isVisible());

        QTest::keyClick(search->ui().searchField, Qt::Key_Escape);
    });
    search->runModal();
    EXPECT_TRUE(ran);
    EXPECT_EQ(delegate.released, 1);
    EXPECT_FALSE(search->isVisible());
    search->dismissWindow();
    EXPECT_EQ(delegate.released, 1) << "a search ends once";
    delete search;

    search = new GlobalSearchController(mainWindow.geometry(), &store.context(), &delegate, &mainWindow);
    QTimer::singleShot(0, search, [search] { search->ui().returnButton->click(); });
    search->runModal();
    EXPECT_EQ(delegate.released, 2);
    delete search;
}

TEST_F(ListsTest, TheCountTransformerCountsTheActiveTasksOfASetAndGivesZeroForAnythingElse)
{
    const ValueTransformer *count =
        ValueTransformer::valueTransformerForName(QLatin1String(ArrayCountValueTransformer::name));
    ASSERT_NE(count, nullptr) << "registered at start";
    EXPECT_FALSE(count->allowsReverseTransformation());
    EXPECT_EQ(count->transformedValue(QVariant()), QVariant(qint32(0)));
    EXPECT_EQ(count->transformedValue(QStringLiteral("three")), QVariant(qint32(0)));
    EXPECT_EQ(count->transformedValue(ArrayCountValueTransformer::setValue({})), QVariant(qint32(0)));

    MyNotebook *inbox = store.firstNotebook();
    MyTag *home = store.tag(QStringLiteral("home"));
    store.task(QStringLiteral("open"), inbox)->addTagsObject(home);
    store.task(QStringLiteral("done"), inbox)->setCompleted(true);
    MyNote *trashed = store.task(QStringLiteral("trashed"), inbox);
    trashed->addTagsObject(home);
    trashed->setActive(false);
    EXPECT_EQ(count->transformedValue(ArrayCountValueTransformer::setValue(inbox->toMany(QStringLiteral("notes")))),
              QVariant(qint32(2)));
    EXPECT_EQ(count->transformedValue(ArrayCountValueTransformer::setValue({home})), QVariant(qint32(0)))
        << "a tag is no active task";

    // The tags list shows the number beside each name.
    TagsViewController tags(&store.context());
    EXPECT_EQ(tags.list()->index(0, NamedObjectArrayController::CountColumn).data().toInt(), 1);
}

// The lists keep what is costly to work out (the search's sorted tasks, the notebooks' counts)
// between arrangements; what they show must still follow every change of the store.
TEST_F(ListsTest, EveryKeystrokeOfTheSearchListsTheStoreAsItIsNow)
{
    MyNotebook *alpha = store.notebook(QStringLiteral("Alpha"));
    MyNotebook *beta = store.notebook(QStringLiteral("Beta"));
    MyNote *banana = store.task(QStringLiteral("Banana bread"), alpha);
    store.task(QStringLiteral("Avocado"), alpha);
    MyNote *pie = store.task(QStringLiteral("Apple pie"), beta);
    store.task(QStringLiteral("cherry"), beta);
    MyNote *tagged = store.task(QStringLiteral("fig"), beta);

    SearchDelegate taskList;
    GlobalSearchController search(QRect(0, 0, 480, 520), &store.context(), &taskList);
    QLineEdit *field = search.ui().searchField;
    const auto typeA = [&] {
        field->clear();
        QTest::keyClick(field, Qt::Key_A);
        return titles(search.taskList());
    };
    // Capitals match a lower-case search; results go by notebook name, then title.
    EXPECT_EQ(typeA(), (QStringList{QStringLiteral("Avocado"), QStringLiteral("Banana bread"), QStringLiteral("Apple pie")}));

    banana->setTitle(QStringLiteral("Almond cake"));
    EXPECT_EQ(typeA(), (QStringList{QStringLiteral("Almond cake"), QStringLiteral("Avocado"), QStringLiteral("Apple pie")}))
        << "a renamed task takes its new place";
    beta->setName(QStringLiteral("Aardvark"));
    EXPECT_EQ(typeA(), (QStringList{QStringLiteral("Apple pie"), QStringLiteral("Almond cake"), QStringLiteral("Avocado")}))
        << "a renamed notebook moves its tasks";
    pie->setNotebook(alpha);
    store.task(QStringLiteral("Apricot jam"), beta);
    tagged->addTagsObject(store.tag(QStringLiteral("family")));
    EXPECT_EQ(typeA(), (QStringList{QStringLiteral("Apricot jam"), QStringLiteral("fig"), QStringLiteral("Almond cake"),
                                    QStringLiteral("Apple pie"), QStringLiteral("Avocado")}))
        << "moved, new and newly tagged tasks are found where they belong";
    pie->setActive(false);
    QCoreApplication::processEvents(); // the deletion is an undo step of its own
    store.context().deleteObject(tagged);
    EXPECT_EQ(typeA(), (QStringList{QStringLiteral("Apricot jam"), QStringLiteral("Almond cake"), QStringLiteral("Avocado")}))
        << "trashed and deleted tasks are gone";
    store.context().undoManager()->undo();
    EXPECT_TRUE(typeA().contains(QStringLiteral("fig"))) << "an undone deletion brings the task back";
    store.task(QStringLiteral("Zebra crossing"), alpha);
    field->setText(QStringLiteral("z"));
    EXPECT_EQ(titles(search.taskList()), QStringList{QStringLiteral("Zebra crossing")}) << "every capital matches";
}

TEST_F(ListsTest, TheNotebooksCountsFollowTasksTrashedRestoredMovedAndAddedWhileTheyAreShown)
{
    MyNotebook *alpha = store.notebook(QStringLiteral("Alpha"));
    MyNotebook *beta = store.notebook(QStringLiteral("Beta"));
    MyNote *first = store.task(QStringLiteral("first"), alpha);
    store.task(QStringLiteral("second"), alpha);
    NotebooksViewController view(&store.context());
    const auto window = showInWindow(view);
    NamedObjectArrayController *list = view.list();
    const auto count = [&](MyNotebook *notebook) {
        return list->index(list->indexOf(notebook), NamedObjectArrayController::CountColumn).data().toInt();
    };
    ASSERT_EQ(count(alpha), 2);
    ASSERT_EQ(count(beta), 0);

    first->setActive(false);
    EXPECT_EQ(count(alpha), 1) << "a trashed task is no longer counted";
    first->setActive(true);
    EXPECT_EQ(count(alpha), 2);
    first->setNotebook(beta);
    EXPECT_EQ(count(alpha), 1);
    EXPECT_EQ(count(beta), 1);
    store.task(QStringLiteral("third"), alpha);
    EXPECT_EQ(count(alpha), 2) << "a new task is counted at once";
}
