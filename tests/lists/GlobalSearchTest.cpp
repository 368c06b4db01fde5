#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "tests/support/ViewTest.h"
#include "ui/GlobalSearchController.h"
#include "ui/GlobalSearchControllerProtocol.h"
#include "ui/MyNoteGlobalSearchTableView.h"
#include "ui_GlobalSearch.h"

#include <QTimer>

namespace {
struct SearchDelegate : GlobalSearchControllerProtocol
{
    void editSearchedObject(MyNote *task) override { edited << task; }
    void releaseSearchedObject() override { ++released; }
    QList<MyNote *> edited;
    int released = 0;
};

using GlobalSearchTest = ViewTest;
} // namespace

// The search keeps its tasks sorted between keystrokes; what it shows must still follow every
// change of the store.
TEST_F(GlobalSearchTest, TheSearchListsVisibleActiveTasksByNotebookFindsTitlesTagsAndContentAndFollowsTheStore)
{
    MyNotebook *zeta = store.firstNotebook();
    zeta->setName(QStringLiteral("Zeta"));
    MyNotebook *alpha = store.notebook(QStringLiteral("Alpha"));
    MyNotebook *hidden = store.notebook(QStringLiteral("Hidden"));
    hidden->setValue(QStringLiteral("hide"), true);
    MyNote *rent = store.task(QStringLiteral("pay rent"), zeta);
    MyNote *milk = store.task(QStringLiteral("buy milk"), alpha);
    store.task(QStringLiteral("answer mail"), alpha);
    MyNote *secret = store.task(QStringLiteral("secret plan"), hidden);
    store.task(QStringLiteral("old plan"), alpha)->setActive(false);
    store.task(QStringLiteral("call"), zeta)->setContent(QStringLiteral("<en-note>ask about the invoice</en-note>"));
    MyTag *urgent = store.tag(QStringLiteral("Urgent"));
    secret->addTagsObject(urgent);
    rent->addTagsObject(urgent);

    SearchDelegate delegate;
    GlobalSearchController search(QRect(100, 100, 480, 520), &store.context(), &delegate);
    QLineEdit *field = search.ui().searchField;
    const ArrayController &list = *search.taskList();
    EXPECT_EQ(titles(list), QStringLiteral("answer mail, buy milk, call, pay rent"))
        << "no trashed task, none of a hidden notebook, by notebook name then title";

    // A tag's name finds its tasks in every notebook, a hidden one's too once a text is typed.
    QTest::keyClicks(field, QStringLiteral("URG"));
    EXPECT_EQ(titles(list), QStringLiteral("secret plan, pay rent"));
    field->setText(QStringLiteral("plan"));
    EXPECT_EQ(titles(list), QStringLiteral("secret plan")) << "never a trashed task";

    // A task's content is searched only when the setting says so.
    field->setText(QStringLiteral("invoice"));
    EXPECT_TRUE(titles(list).isEmpty());
    Defaults::standardUserDefaults().setBool(Key::SearchInContent, true);
    field->setText(QStringLiteral("INVOICE"));
    EXPECT_EQ(titles(list), QStringLiteral("call"));

    const auto typePlan = [&] {
        field->clear();
        QTest::keyClicks(field, QStringLiteral("plan"));
        return titles(list);
    };
    rent->setTitle(QStringLiteral("plan the rent"));
    EXPECT_EQ(typePlan(), QStringLiteral("secret plan, plan the rent")) << "a renamed task takes its place";
    secret->setNotebook(alpha);
    MyNote *planB = store.task(QStringLiteral("plan b"), zeta);
    milk->addTagsObject(store.tag(QStringLiteral("planning")));
    EXPECT_EQ(typePlan(), QStringLiteral("buy milk, secret plan, plan b, plan the rent"))
        << "moved, new and newly tagged tasks are found where they belong";
    rent->setActive(false);
    store.context().deleteObject(planB);
    EXPECT_EQ(typePlan(), QStringLiteral("buy milk, secret plan")) << "trashed and deleted tasks are gone";
}

TEST_F(GlobalSearchTest, TheSearchRunsModallyHandsOverADoubleClickedTaskAndEndsOnEscape)
{
    MyNote *task = store.task(QStringLiteral("pay rent"));
    SearchDelegate delegate;
    QWidget mainWindow;
    mainWindow.setGeometry(QRect(120, 140, 500, 480));
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));

    auto *search = new GlobalSearchController(mainWindow.geometry(), &store.context(), &delegate, &mainWindow);
    MyNoteGlobalSearchTableView *table = search->ui().resultTable;
    bool ran = false;
    QTimer::singleShot(0, search, [&] {
        ran = true;
        // A double click on a result hands the task over, and the search stays.
        EXPECT_TRUE(waitUntil([&] { return table->visualRect(search->taskList()->index(0)).isValid(); }));
        const QPoint onTask = table->visualRect(search->taskList()->index(0)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, onTask);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, onTask);
        EXPECT_EQ(delegate.edited, QList<MyNote *>{task});
        EXPECT_TRUE(search->isVisible());
        QTest::keyClick(search->ui().searchField, Qt::Key_Escape);
    });
    search->runModal();
    EXPECT_TRUE(ran);
    EXPECT_EQ(delegate.released, 1);
    search->dismissWindow();
    EXPECT_EQ(delegate.released, 1) << "a search ends once";
    delete search;
}
