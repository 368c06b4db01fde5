#include "tests/sync/SyncTest.h"

#include "core/Clock.h"

#include <QTimer>

namespace {

class IncrementalSyncTest : public SyncTest
{
protected:
    // This device joined to Alice's account, which holds the notes given, each with a notes text.
    void join(const std::vector<std::string> &titles)
    {
        for (const std::string &title : titles)
            alice.addNote(title, content(QStringLiteral("<div>.DT.2026-12-10</div><div>.KVONotes.From the office.KVCNotes.</div>")));
        ASSERT_TRUE(sync(here));
        ASSERT_FALSE(here.firstSync());
    }
    // Another device changes the note as of `updated` (milliseconds).
    void changeElsewhere(const std::string &title, qint64 updated, const std::function<void(EDAMNote &)> &change)
    {
        EDAMNote note = serviceNote(title);
        change(note);
        note.__set_updated(updated);
        alice.updateNote(note);
    }
    static qint64 minutesFromNow(int minutes) { return Clock::nowMilliseconds() + minutes * 60'000; }
};

} // namespace

// For a task changed on both sides the later version wins, except that a note trashed on the
// service always reaches the task; a task that loses is not sent, or the older local version
// would overwrite the newer one on the service and leave a mix of both here.
TEST_F(IncrementalSyncTest, ATaskChangedOnBothSidesTakesTheLaterVersion)
{
    join({"Both, here later", "Trashed elsewhere earlier", "Expunged here", "Cleared elsewhere", "Book the table"});
    changeElsewhere("Both, here later", minutesFromNow(-5), [](EDAMNote &n) { n.__set_title("Lost to the later edit"); });
    task("Both, here later")->setCompleted(true);
    changeElsewhere("Trashed elsewhere earlier", minutesFromNow(-5), [](EDAMNote &n) { n.__set_active(false); });
    task("Trashed elsewhere earlier")->setCompleted(true);
    task("Expunged here")->setActive(false);
    task("Expunged here")->setToExpunged(true);
    here.store.save();
    changeElsewhere("Expunged here", minutesFromNow(1), [](EDAMNote &n) { n.__set_title("Back again"); });
    // No due date in the content clears it; an empty notes text leaves the task's, which goes
    // back so that both sides keep it.
    changeElsewhere("Cleared elsewhere", Clock::nowMilliseconds(), [](EDAMNote &n) {
        n.__set_content(content(QStringLiteral("<div>.KVONotes..KVCNotes.</div>")));
    });
    MyNote *book = task("Book the table");
    book->setContent(QStringLiteral("For four"));
    changeElsewhere("Book the table", minutesFromNow(1), [](EDAMNote &n) {
        n.__set_title("Book the table for six");
        n.__set_content(content(QStringLiteral("<div>.KVONotes.For six, by the window.KVCNotes.</div>")));
    });
    service.clearRequests();

    ASSERT_TRUE(sync(here));
    MyNote *both = task("Both, here later");
    ASSERT_TRUE(both);
    EXPECT_TRUE(both->completed());
    EXPECT_TRUE(CompletedContent::completed(QString::fromStdString(alice.noteContent(serviceNote("Both, here later").guid))));
    MyNote *trashed = task("Trashed elsewhere earlier");
    EXPECT_FALSE(trashed->active());
    EXPECT_FALSE(trashed->completed());
    EXPECT_FALSE(serviceNote("Trashed elsewhere earlier").active);
    MyNote *back = task("Back again");
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->toExpunged());
    MyNote *cleared = task("Cleared elsewhere");
    EXPECT_FALSE(cleared->dueDated().isValid());
    EXPECT_EQ(cleared->content(), QStringLiteral("From the office"));
    EXPECT_EQ(TaskContent::taskc(QString::fromStdString(alice.noteContent(cleared->guid().toStdString()))),
              QStringLiteral("From the office"));
    EXPECT_EQ(book->title(), QStringLiteral("Book the table for six"));
    EXPECT_EQ(book->content(), QStringLiteral("For six, by the window"));

    EXPECT_EQ(here.all<MyNote>(QStringLiteral("needUpdate == 1")).size(), 0);
    // The local edit that won and the notes text kept here.
    EXPECT_EQ(service.callCount("updateNote"), 2);
    EXPECT_EQ(here.chunkHighUSN(), updateCount());
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

    ASSERT_TRUE(sync(here));
    const std::string guid = call->guid().toStdString();
    EXPECT_EQ(serviceNote(guid).title, "Call the bank at nine");
    EXPECT_TRUE(call->needUpdate());
    EXPECT_EQ(call->title(), QStringLiteral("Call the bank at ten"));

    ASSERT_TRUE(sync(here));
    EXPECT_EQ(serviceNote(guid).title, "Call the bank at ten");
    EXPECT_FALSE(call->needUpdate());
}
