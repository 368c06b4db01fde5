#include "tests/sync/SyncTest.h"

#include "core/store/SyncWriteScope.h"
#include "sync/NotebookRetirement.h"

#include <QTimer>

namespace {

class SyncFaultsTest : public SyncTest
{
protected:
    void SetUp() override
    {
        alice.addNote("From the account", content(QStringLiteral("<div>.DT.2026-12-10</div>")));
        ASSERT_TRUE(sync(here));
    }
};

} // namespace

// A notebook never leaves the store with tasks in it. Deleted here, what is still in it goes to
// the receiving notebook, into the trash; expunged on the service, the same happens to tasks the
// service never had. With nowhere to go, it stays marked deleted.
TEST_F(SyncFaultsTest, ANotebookLeavesTheStoreOnlyWithoutTasks)
{
    MyNotebook *trip = here.store.notebook(QStringLiteral("Trip"));
    here.store.task(QStringLiteral("Pack"), trip);
    MyNotebook *garden = here.store.notebook(QStringLiteral("Garden"));
    ASSERT_TRUE(sync(here));
    ASSERT_FALSE(trip->guid().isEmpty());

    // Deleted here with a task still in it (put there after the deletion, or never handed over).
    trip->setDeleted(true);
    // Expunged on the service, with a task made here since that the service never had.
    here.store.task(QStringLiteral("Plant the roses"), garden);
    service.inject("createNote", FakeFault::userException(FakeAccount::BadDataFormat, "Note.title"));
    ASSERT_TRUE(sync(here)); // the rose task stays new: its create was refused
    alice.expungeNotebook(garden->guid().toStdString());

    ASSERT_TRUE(sync(here));
    EXPECT_EQ(here.chunkHighUSN(), updateCount());
    EXPECT_TRUE(trip->isDeleted());
    EXPECT_TRUE(garden->isDeleted());
    const QString defaultGuid = Defaults::standardUserDefaults().stringForKey(Key::defaultNotebook);
    for (const char *title : {"Pack", "Plant the roses"}) {
        MyNote *moved = task(title);
        ASSERT_TRUE(moved) << title;
        EXPECT_EQ(moved->notebook()->guid(), defaultGuid) << title;
        EXPECT_FALSE(moved->active()) << title;
    }

    // Every notebook deleted at once: the service refuses to delete the account's default one,
    // which comes back here (a pane says why); the others leave, their tasks moved into it.
    MyNotebook *work = here.store.notebook(QStringLiteral("Work"));
    MyNote *report = here.store.task(QStringLiteral("Report"), work);
    ASSERT_TRUE(sync(here));
    const qsizetype panes = presenter.panes().size();
    for (MyNotebook *notebook : here.all<MyNotebook>())
        notebook->setDeleted(true);
    ASSERT_TRUE(sync(here));
    EXPECT_EQ(presenter.panes().size(), panes + 1);
    EXPECT_TRUE(work->isDeleted());
    EXPECT_EQ(report->notebook()->guid(), defaultGuid);
    const QList<MyNotebook *> kept = here.all<MyNotebook>();
    ASSERT_EQ(kept.size(), 1);
    EXPECT_FALSE(kept.first()->deleted());

    // With nowhere to go (every other notebook leaving too), a notebook keeps its tasks and
    // stays, marked deleted, for the next run to try again.
    kept.first()->setDeleted(true);
    SyncWriteScope scope(here.context());
    EXPECT_FALSE(NotebookRetirement::retire(scope, kept.first()));
    EXPECT_FALSE(kept.first()->isDeleted());
    EXPECT_EQ(kept.first()->notes().size(), 4);
}

// A note whose content the service will not give is not applied: the task keeps every field,
// and the note comes again with the next run, which applies it. Any other exception ends the
// run at once and says so in the log; what the run applied stays, and the mark stays where the
// next run fetches everything not yet taken in.
TEST_F(SyncFaultsTest, ANoteWhoseContentIsRefusedWaitsForTheNextRun)
{
    MyNote *kept = task("From the account");
    EDAMNote note = serviceNote("From the account");
    note.__set_title("Renamed elsewhere");
    note.__set_content(content(QString()));
    note.__set_updated(kept->updated() + 1000);
    alice.updateNote(note);
    alice.addNote("New elsewhere");
    alice.addNote("Newer elsewhere");
    service.inject("getNoteContent", FakeFault::userException(FakeAccount::DataRequired, "Note.guid"));
    service.inject("getNoteContent", FakeFault::delay(std::chrono::milliseconds(0)));
    service.inject("getNoteContent", FakeFault::httpStatus(503));

    EXPECT_FALSE(sync(here));
    EXPECT_TRUE(std::ranges::any_of(log.lines(), [](const QString &line) {
        return line.startsWith(QStringLiteral("Excepción en sincronización: "));
    }));
    EXPECT_EQ(kept->title(), QStringLiteral("From the account"));
    EXPECT_TRUE(kept->dueDated().isValid());
    EXPECT_TRUE(task("New elsewhere"));
    EXPECT_FALSE(task("Newer elsewhere"));
    EXPECT_LT(here.chunkHighUSN(), updateCount());

    ASSERT_TRUE(sync(here));
    EXPECT_EQ(kept->title(), QStringLiteral("Renamed elsewhere"));
    EXPECT_FALSE(kept->dueDated().isValid());
    EXPECT_TRUE(task("Newer elsewhere"));
    EXPECT_EQ(here.all<MyNote>().size(), 3);
    EXPECT_EQ(here.chunkHighUSN(), updateCount());
}

// A task in a notebook the service refused waits, marked, instead of being sent without its
// notebook (which the service refuses with an exception that would end every run there).
TEST_F(SyncFaultsTest, ATaskWaitsForItsNotebookToReachTheService)
{
    MyNotebook *work = here.store.notebook(QStringLiteral("Work"));
    MyNote *report = here.store.task(QStringLiteral("Write the report"), work);
    service.inject("createNotebook", FakeFault::userException(FakeAccount::BadDataFormat, "Notebook.name"));
    ASSERT_TRUE(sync(here));
    EXPECT_TRUE(report->guid().isEmpty());
    EXPECT_TRUE(report->needUpdate());

    ASSERT_TRUE(sync(here));
    EXPECT_EQ(serviceNote(report->guid().toStdString()).notebookGuid, work->guid().toStdString());
}

// Removed here while its create is on the way, a new tag or task is taken back on the service
// in the same run: the next chunk does not bring back what the user removed.
TEST_F(SyncFaultsTest, WhatTheUserRemovesWhileItIsBeingCreatedStaysRemoved)
{
    MyTag *tag = here.store.tag(QStringLiteral("brief"));
    MyNote *fleeting = here.store.task(QStringLiteral("Fleeting"));
    const int tagCreates = service.callCount("createTag");
    const int noteCreates = service.callCount("createNote");
    for (const char *call : {"createTag", "createNote"})
        service.inject(call, FakeFault::delay(std::chrono::milliseconds(300)));
    QTimer remover;
    QObject::connect(&remover, &QTimer::timeout, [&] {
        if (tag && service.callCount("createTag") > tagCreates)
            here.context().deleteObject(std::exchange(tag, nullptr));
        if (fleeting && service.callCount("createNote") > noteCreates)
            here.context().deleteObject(std::exchange(fleeting, nullptr));
    });
    remover.start(1);

    ASSERT_TRUE(sync(here));
    ASSERT_FALSE(tag || fleeting) << "each was removed while its create was waiting";
    EXPECT_TRUE(alice.tags().empty());
    EXPECT_EQ(alice.notes().size(), 1u);
    EXPECT_EQ(here.chunkHighUSN(), updateCount());
    ASSERT_TRUE(sync(here));
    EXPECT_FALSE(task("Fleeting"));
    EXPECT_TRUE(here.all<MyTag>().isEmpty());
}
