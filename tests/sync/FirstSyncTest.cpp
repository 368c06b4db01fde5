#include "tests/sync/SyncTest.h"

#include "core/Clock.h"

// A store with a task of its own joins an account that already has a notebook and a task
// written by another client: each side ends with the other's, and nothing the run wrote can be
// undone. A run that cannot authenticate first leaves everything as it was.
TEST_F(SyncTest, AFirstRunJoinsTheStoreAndTheAccountBothWays)
{
    const QDateTime due(QDate(2026, 12, 24), QTime(18, 0), Clock::timeZone());
    MyNote *local = here.store.task(QStringLiteral("Wrap the presents"));
    local->setDueDated(due);
    local->addTagsObject(here.store.tag(QStringLiteral("home")));
    here.store.save();

    const EDAMNotebook work = alice.addNotebook("Work");
    EDAMNote remote;
    remote.__set_title("Send the report");
    remote.__set_notebookGuid(work.guid);
    remote.__set_content(CompletedContent::setCompletedInContent(*DueDateContent::newContentWithDate(due.addDays(-1)))->toStdString());
    remote = alice.createNote(remote);

    SharedData::sharedManager()->setPassword(QStringLiteral("wrong"));
    EXPECT_FALSE(sync(here));
    EXPECT_TRUE(here.firstSync());
    EXPECT_EQ(here.all<MyNote>(QStringLiteral("needUpdate == 1")).size(), 1);
    EXPECT_EQ(service.callCount("createNote"), 0);

    SharedData::sharedManager()->setPassword(Password);
    ASSERT_TRUE(sync(here));

    // Here → service: the first notebook, the tag (by name on the note) and the task.
    const EDAMNote sent = serviceNote(local->guid().toStdString());
    EXPECT_EQ(sent.title, "Wrap the presents");
    EXPECT_EQ(DueDateContent::dueDate(QString::fromStdString(sent.content)).value_or(QDateTime()).date(), due.date());
    EXPECT_EQ(sent.notebookGuid, here.store.firstNotebook()->guid().toStdString());
    EXPECT_FALSE(local->needUpdate());
    EXPECT_EQ(local->updated(), sent.updated);

    // Service → here.
    MyNote *received = task(remote.guid);
    ASSERT_TRUE(received);
    EXPECT_EQ(received->title(), QStringLiteral("Send the report"));
    EXPECT_EQ(received->notebook()->name(), QStringLiteral("Work"));
    EXPECT_EQ(received->dueDated().date(), due.date().addDays(-1));
    EXPECT_TRUE(received->completed());
    EXPECT_FALSE(received->needUpdate());
    EXPECT_EQ(here.all<MyNotebook>().size(), 3); // the first one, the account's default, Work
    EXPECT_EQ(here.all<MyNotebook>(QStringLiteral("needUpdate == 1")).size(), 0);
    EXPECT_EQ(here.all<MyTag>(QStringLiteral("needUpdate == 1")).size(), 0);

    EXPECT_FALSE(here.firstSync());
    EXPECT_EQ(here.chunkHighUSN(), updateCount());
    EXPECT_FALSE(here.context().undoManager()->canUndo());

    // Everything is saved: a relaunch finds it.
    here.store.reopen();
    EXPECT_TRUE(task(remote.guid));
    EXPECT_EQ(here.all<MyNote>(QStringLiteral("needUpdate == 1")).size(), 0);
}

// The service gives at most 1000 entries a chunk: an account larger than that arrives whole,
// also when the run creates objects of its own (whose numbers lie above every entry there).
TEST_F(SyncTest, AnAccountOfMoreThanOneChunkArrivesWhole)
{
    for (int i = 0; i < 1100; ++i)
        alice.addNote("Task " + std::to_string(i), content(QStringLiteral("<div>.DT.2026-12-20</div>")));
    here.store.task(QStringLiteral("Made here"));

    ASSERT_TRUE(sync(here));
    EXPECT_EQ(here.all<MyNote>().size(), 1101);
    EXPECT_EQ(here.chunkHighUSN(), updateCount());
    EXPECT_GE(service.callCount("getSyncChunk"), 2);

    // Nothing is left behind for the next run to fetch.
    service.clearRequests();
    ASSERT_TRUE(sync(here));
    EXPECT_EQ(service.callCount("getNoteContent"), 0);
    EXPECT_EQ(service.callCount("getSyncChunk"), 1);
}
