#include "core/Localized.h"
#include "core/store/MyTag.h"
#include "tests/support/ViewTest.h"
#include "ui/NamedObjectArrayController.h"
#include "ui/TagsViewController.h"

namespace {
using TagsViewTest = ViewTest;
} // namespace

TEST_F(TagsViewTest, TheFirstTagOpensItsNameAndNamesTheServiceWouldRefuseReopenWithWhatWasTyped)
{
    TagsViewController view(&store.context());
    auto window = showInWindow(view);
    NamedObjectArrayController *list = view.list();
    MyTableView *table = view.table();
    forwardNameChanges(view);

    // In an empty list, arranging selects the new tag before its name is opened.
    view.newObjectNotification();
    ASSERT_EQ(list->count(), 1);
    QWidget *editor = table->indexWidget(list->index(0, NamedObjectArrayController::NameColumn));
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("home"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    auto *tag = static_cast<MyTag *>(list->objectAt(0));
    EXPECT_EQ(tag->name(), QStringLiteral("home"));

    MyTag *work = store.tag(QStringLiteral("work"));
    view.rearrangeArrayController();
    const QModelIndex name = list->index(0, NamedObjectArrayController::NameColumn);
    NotificationRecorder saves(QStringLiteral("saveDataToDisk"));
    for (const QString &typed : {QStringLiteral(" \t "), QStringLiteral("home, garden"), QString(101, u'g')}) {
        rename(table, 0, typed);
        EXPECT_FALSE(answerAlert(QStringLiteral("OK")).isEmpty());
        auto *editor = qobject_cast<QLineEdit *>(table->indexWidget(name));
        EXPECT_EQ(editor ? editor->text() : QStringLiteral("no editor"), typed) << "the name opens again";
        if (editor)
            QTest::keyClick(editor, Qt::Key_Escape);
        EXPECT_EQ(tag->name(), QStringLiteral("home"));
    }
    rename(table, list->indexOf(work), QStringLiteral("home"));
    EXPECT_FALSE(answerAlert(QStringLiteral("OK")).isEmpty());
    EXPECT_EQ(work->name(), QStringLiteral("work"));
    EXPECT_EQ(saves.count(), 0);

    rename(table, 0, QStringLiteral("\u00a0") + QString(100, u'g') + QStringLiteral(" "));
    EXPECT_EQ(tag->name(), QString(100, u'g'));
    EXPECT_EQ(visibleAlert(), nullptr);
    EXPECT_EQ(saves.count(), 1);
}

TEST_F(TagsViewTest, DeletingTagsKeepsTheSynchronisedOnesMarkedAndRemovesTheOthersLeavingTasksAlone)
{
    MyTag *local = store.tag(QStringLiteral("errands"));
    MyTag *known = store.tag(QStringLiteral("urgent"));
    known->setValue(QStringLiteral("guid"), QStringLiteral("tag-1"));
    MyTag *kept = store.tag(QStringLiteral("later"));
    MyNote *task = store.task(QStringLiteral("buy bread"));
    task->addTags({local, known});
    TagsViewController view(&store.context());
    auto window = showInWindow(view);
    NotificationRecorder posts({QStringLiteral("saveDataToDisk"), QStringLiteral("tagArrayChanged")});

    view.list()->setSelectedObjects({local, known});
    view.removeObjectNotification();
    answerAlert(Localized::string(QStringLiteral("DELETE")));
    EXPECT_TRUE(local->isDeleted());
    EXPECT_TRUE(known->deleted() && !known->isDeleted());
    EXPECT_EQ(task->tags(), QList<MyTag *>{known}) << "a synchronised tag stays on its tasks until synchronisation";
    EXPECT_TRUE(task->active());
    EXPECT_EQ(view.list()->arrangedObjects(), QList<ManagedObject *>{kept});
    EXPECT_EQ(posts.names(&view), (QStringList{QStringLiteral("saveDataToDisk"), QStringLiteral("tagArrayChanged")}));
}
