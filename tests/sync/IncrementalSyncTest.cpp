#include "tests/sync/SyncTest.h"

#include "core/Clock.h"

#include <QTimer>

namespace {

class IncrementalSyncTest : public SyncTest
{
protected:
    // This device joined to Alice's account, which holds the notes given (due tomorrow).
    void join(const std::vector<std::string> &titles)
    {
        for (const std::string &title : titles)
            alice.addNote(title, content(QStringLiteral("<div>.DT.2026-12-10</div><div>.KVONotes.From the office.KVCNotes.</div>")));
        ASSERT_TRUE(sync(here).success);
        ASSERT_FALSE(here.firstSync());
    }
    MyNote *task(const std::string &title) { return here.taskTitled(QString::fromStdString(title)); }
    EDAMNote serviceNoteTitled(const std::string &title) const
    {
        for (const EDAMNote &note : alice.notes()) {
            if (note.title == title)
                return note;
        }
        ADD_FAILURE() << "no note titled " << title;
        return {};
    }
    // Another device changes the note as of `updated` (milliseconds).
    void changeElsewhere(const std::string &title, qint64 updated, const std::function<void(EDAMNote &)> &change)
    {
        EDAMNote note = serviceNoteTitled(title);
        change(note);
        note.__set_updated(updated);
        alice.updateNote(note);
    }
    static qint64 minutesAgo(int minutes) { return Clock::nowMilliseconds() - minutes * 60'000; }
};

} // namespace

// What changed here goes out, what changed elsewhere comes in, and the server-newer rule
// decides for a task changed on both sides: the later version wins, except that a note trashed
// on the service always reaches the task.
TEST_F(IncrementalSyncTest, ChangesCrossBothWaysAndTheLaterVersionWins)
{
    join({"Edited here", "Edited elsewhere", "Both, here later", "Trashed elsewhere earlier", "Expunged here", "Cleared elsewhere"});
    task("Edited here")->setTitle(QStringLiteral("Edited here, again"));
    changeElsewhere("Edited elsewhere", Clock::nowMilliseconds(), [](EDAMNote &n) {
        n.__set_title("Edited elsewhere, again");
        n.__set_content(content(QStringLiteral("<div>.DT.2026-12-31</div>")));
    });
    changeElsewhere("Both, here later", minutesAgo(5), [](EDAMNote &n) { n.__set_title("Lost to the later edit"); });
    task("Both, here later")->setCompleted(true);
    changeElsewhere("Trashed elsewhere earlier", minutesAgo(5), [](EDAMNote &n) { n.__set_active(false); });
    task("Trashed elsewhere earlier")->setCompleted(true);
    task("Expunged here")->setActive(false);
    task("Expunged here")->setToExpunged(true);
    here.store.save();
    changeElsewhere("Expunged here", Clock::nowMilliseconds() + 60'000, [](EDAMNote &n) { n.__set_title("Back again"); });
    // No due date in the content clears it; an empty notes text leaves the task's.
    changeElsewhere("Cleared elsewhere", Clock::nowMilliseconds(), [](EDAMNote &n) {
        n.__set_content(content(QStringLiteral("<div>.KVONotes..KVCNotes.</div>")));
    });
    service.clearRequests();

    ASSERT_TRUE(sync(here).success);

    EXPECT_EQ(serviceNoteTitled("Edited here, again").title, "Edited here, again");
    EXPECT_EQ(task("Edited elsewhere, again")->dueDated().date(), QDate(2026, 12, 31));
    MyNote *both = task("Both, here later");
    ASSERT_TRUE(both);
    EXPECT_TRUE(both->completed());
    EXPECT_TRUE(CompletedContent::completed(QString::fromStdString(alice.noteContent(serviceNoteTitled("Both, here later").guid))));
    // The trashed note was not overwritten by the local completion: it reached the task instead.
    MyNote *trashed = task("Trashed elsewhere earlier");
    EXPECT_FALSE(trashed->active());
    EXPECT_FALSE(trashed->completed());
    EXPECT_FALSE(serviceNoteTitled("Trashed elsewhere earlier").active);
    MyNote *back = task("Back again");
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->toExpunged());
    MyNote *cleared = task("Cleared elsewhere");
    EXPECT_FALSE(cleared->dueDated().isValid());
    EXPECT_EQ(cleared->content(), QStringLiteral("From the office"));
    // ... and goes back to the service, so that both sides keep it.
    EXPECT_EQ(TaskContent::taskc(QString::fromStdString(alice.noteContent(cleared->guid().toStdString()))),
              QStringLiteral("From the office"));

    EXPECT_EQ(here.all<MyNote>(QStringLiteral("needUpdate == 1")).size(), 0);
    // The two local edits that won, and the two notes texts kept here.
    EXPECT_EQ(service.callCount("updateNote"), 4);
    EXPECT_EQ(here.chunkHighUSN(), updateCount());
    // Nothing the run wrote can be undone.
    EXPECT_FALSE(here.context().undoManager()->canUndo());
}

// An edit made in the window while the run sends the task's older version is not wiped by the
// write-back: the task stays marked and the edit goes out with the next run.
TEST_F(IncrementalSyncTest, AnEditMadeWhileTheTaskIsSentGoesOutWithTheNextRun)
{
    join({"Call the bank"});
    MyNote *call = task("Call the bank");
    call->setTitle(QStringLiteral("Call the bank at nine"));
    service.inject("updateNote", FakeFault::delay(std::chrono::milliseconds(300)));
    // Served by the queue's wait while the update is on its way.
    QTimer::singleShot(100, [&] { call->setTitle(QStringLiteral("Call the bank at ten")); });

    ASSERT_TRUE(sync(here).success);
    EXPECT_EQ(serviceNote(call->guid()).title, "Call the bank at nine");
    EXPECT_TRUE(call->needUpdate());
    EXPECT_EQ(call->title(), QStringLiteral("Call the bank at ten"));

    ASSERT_TRUE(sync(here).success);
    EXPECT_EQ(serviceNote(call->guid()).title, "Call the bank at ten");
    EXPECT_FALSE(call->needUpdate());
}

// A task changed here whose note another device changed later is not sent: the older local
// version would overwrite the newer one on the service and leave a mix of both here.
TEST_F(IncrementalSyncTest, ATaskWhoseNoteIsNewerElsewhereIsNotSent)
{
    join({"Book the table"});
    MyNote *book = task("Book the table");
    book->setContent(QStringLiteral("For four"));
    changeElsewhere("Book the table", Clock::nowMilliseconds() + 60'000, [](EDAMNote &n) {
        n.__set_title("Book the table for six");
        n.__set_content(content(QStringLiteral("<div>.KVONotes.For six, by the window.KVCNotes.</div>")));
    });
    service.clearRequests();

    ASSERT_TRUE(sync(here).success);
    EXPECT_EQ(service.callCount("updateNote"), 0);
    EXPECT_EQ(book->title(), QStringLiteral("Book the table for six"));
    EXPECT_EQ(book->content(), QStringLiteral("For six, by the window"));
    EXPECT_FALSE(book->needUpdate());
}
