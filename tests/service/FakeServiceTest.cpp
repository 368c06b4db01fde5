#include "service/EDAMNotFoundException.h"
#include "service/EDAMSystemException.h"
#include "service/EDAMUserException.h"
#include "service/ServiceConfiguration.h"
#include "service/TTransportException.h"
#include "tests/service/TestClients.h"
#include "tests/support/fakeservice/FakeService.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

// "<code> <parameter>" of the user exception a call raised, or "accepted".
std::string refusal(const std::function<void()> &call)
{
    try {
        call();
    } catch (const EDAMUserException &e) {
        return std::to_string(e.errorCode) + " " + e.parameter;
    }
    return "accepted";
}

template <typename T>
std::vector<std::string> guidsOf(const std::vector<T> &objects)
{
    std::vector<std::string> guids;
    for (const T &object : objects)
        guids.push_back(object.guid);
    return guids;
}

class FakeServiceTest : public ::testing::Test
{
protected:
    EDAMNoteStoreClient store() { return TestClients::noteStore(service.noteStoreUrl("s1")); }

    FakeService service;
    FakeAccount &alice = service.addAccount("alice", "correct horse", "s1");
    std::string token = service.issueToken("alice");
};

} // namespace

// Authentication as the application does it, then the user's note store at the base URL
// followed by the shard id.
TEST_F(FakeServiceTest, AuthenticatesAndServesTheUsersShard)
{
    service.addAccount("bob", "battery", "s8");
    service.exportEndpoints();
    EDAMUserStoreClient users = TestClients::userStore(ServiceConfiguration::userStoreUrl());
    EXPECT_TRUE(users.checkVersion("Kelvara", 1, 15));
    EXPECT_FALSE(users.checkVersion("Kelvara", 1, 16));
    EXPECT_FALSE(users.checkVersion("Other", 1, 15));
    service.setVersionAccepted(false);
    EXPECT_FALSE(users.checkVersion("Kelvara", 1, 15));

    EXPECT_EQ(refusal([&] { users.authenticate("alice", "wrong", "kelvaraap", "0123456789abcdef"); }), "8 password");
    EXPECT_EQ(refusal([&] { users.authenticate("carol", "correct horse", "kelvaraap", "0123456789abcdef"); }),
              "8 username");

    // The whole result, nested structs and their lists included, reads through the client.
    const EDAMAuthenticationResult auth = users.authenticate("alice", "correct horse", "kelvaraap", "0123456789abcdef");
    ASSERT_TRUE(auth.__isset.authenticationToken && auth.__isset.user && auth.__isset.publicUserInfo);
    EXPECT_EQ(auth.user, alice.user());
    EXPECT_EQ(auth.user.attributes.viewedPromotions.size(), 2u);
    const QString url = ServiceConfiguration::noteStoreUrl(QString::fromStdString(auth.user.shardId));
    EXPECT_EQ(url, service.noteStoreUrl("s1"));
    EXPECT_EQ(TestClients::noteStore(url).getDefaultNotebook(auth.authenticationToken).name, "alice's notebook");

    // Alice's token on Bob's shard, a token never issued, and a token that has expired.
    EXPECT_EQ(refusal([&] { TestClients::noteStore(service.noteStoreUrl("s8")).listTags(auth.authenticationToken); }),
              "8 authenticationToken");
    EXPECT_EQ(refusal([&] { TestClients::noteStore(url).listTags("S=s1:U=1:H=0"); }), "8 authenticationToken");
    service.expireTokens();
    EXPECT_EQ(refusal([&] { TestClients::noteStore(url).listTags(auth.authenticationToken); }), "9 authenticationToken");
}

// What the synchronisation relies on: every change takes the account's next number, an update
// keeps what it leaves unset, and a sync chunk lists changes in their order.
TEST_F(FakeServiceTest, ChangesTakeTheNextNumbersAndSyncChunksListThem)
{
    int32_t usn = alice.updateCount();
    EDAMNotebook work;
    work.__set_name("Work");
    work = store().createNotebook(token, work);
    EXPECT_EQ(work.updateSequenceNum, ++usn);
    const EDAMTag home = alice.addTag("home");
    const EDAMTag garden = alice.addTag("garden", home.guid);
    usn += 2;

    EDAMNote note;
    note.__set_title("Paint the fence");
    note.__set_content("<en-note>white</en-note>");
    note.__set_notebookGuid(work.guid);
    note.__set_tagGuids({garden.guid});
    note.__set_tagNames({"HOME", "errands"}); // one found by name, one created
    note = store().createNote(token, note);
    usn += 2;
    EXPECT_EQ(note.updateSequenceNum, usn);
    EXPECT_FALSE(note.__isset.content);
    ASSERT_EQ(note.tagGuids.size(), 3u);
    EXPECT_EQ(note.tagGuids[1], home.guid);

    // Updates that leave fields unset keep them.
    EDAMNote retitled;
    retitled.__set_guid(note.guid);
    retitled.__set_title("Paint the gate");
    retitled.__set_updated(1700000000000);
    EXPECT_EQ(store().updateNote(token, retitled).updateSequenceNum, ++usn);
    EDAMTag renamed;
    renamed.__set_guid(garden.guid);
    renamed.__set_name("yard");
    const int32_t renamedAt = store().updateTag(token, renamed);
    EXPECT_EQ(renamedAt, ++usn);
    EDAMNotebook untouched;
    untouched.__set_guid(work.guid);
    store().updateNotebook(token, untouched);
    ++usn;
    EXPECT_EQ(store().getNoteContent(token, note.guid), "<en-note>white</en-note>");

    const EDAMNote spare = alice.addNote("Spare");
    EXPECT_EQ(store().expungeNote(token, spare.guid), usn += 2);
    EXPECT_EQ(store().expungeTag(token, note.tagGuids[2]), ++usn);
    EXPECT_THROW(store().expungeTag(token, "no-such-tag"), EDAMNotFoundException);
    EXPECT_THROW(store().getNoteContent(token, spare.guid), EDAMNotFoundException);

    const EDAMSyncChunk all = store().getSyncChunk(token, 0, 100, false);
    EXPECT_EQ(all.updateCount, usn);
    EXPECT_EQ(all.chunkHighUSN, usn);
    EXPECT_EQ(guidsOf(all.notebooks), guidsOf(alice.notebooks()));
    EXPECT_EQ(all.notebooks.back().name, "Work");
    ASSERT_EQ(guidsOf(all.tags), (std::vector<std::string>{home.guid, garden.guid}));
    EXPECT_EQ(all.tags[1].name, "yard");
    EXPECT_EQ(all.tags[1].parentGuid, home.guid);
    ASSERT_EQ(all.notes.size(), 1u);
    EXPECT_EQ(all.notes[0].title, "Paint the gate");
    EXPECT_EQ(all.notes[0].updated, 1700000000000);
    EXPECT_FALSE(all.notes[0].__isset.content);
    EXPECT_EQ(all.notes[0].tagGuids, (std::vector<std::string>{garden.guid, home.guid})) << "the expunged tag left it";
    EXPECT_EQ(all.expungedNotes, std::vector<std::string>{spare.guid});
    EXPECT_EQ(all.expungedTags, std::vector<std::string>{note.tagGuids[2]});

    // A window of two entries, the full-sync view without expunged objects, nothing new.
    const EDAMSyncChunk window = store().getSyncChunk(token, renamedAt - 2, 2, false);
    EXPECT_EQ(window.chunkHighUSN, renamedAt);
    EXPECT_EQ(guidsOf(window.notes), std::vector<std::string>{note.guid});
    EXPECT_EQ(guidsOf(window.tags), std::vector<std::string>{garden.guid});
    EXPECT_FALSE(window.__isset.notebooks || window.__isset.expungedNotes);
    const EDAMSyncChunk fullOnly = store().getSyncChunk(token, 0, 100, true);
    EXPECT_FALSE(fullOnly.__isset.expungedNotes || fullOnly.__isset.expungedTags);
    EXPECT_EQ(fullOnly.notes.size(), 1u);
    const EDAMSyncChunk nothingNew = store().getSyncChunk(token, usn, 100, false);
    EXPECT_FALSE(nothingNew.__isset.chunkHighUSN || nothingNew.__isset.notes);

    // Expunging a notebook keeps its notes, in the trash of the default notebook.
    EXPECT_EQ(store().expungeNotebook(token, work.guid), usn + 2);
    const EDAMNote trashed = *alice.note(note.guid);
    EXPECT_FALSE(trashed.active);
    EXPECT_EQ(trashed.notebookGuid, alice.defaultNotebook().guid);
    EXPECT_EQ(store().getSyncChunk(token, 0, 100, false).expungedNotebooks, std::vector<std::string>{work.guid});
    EXPECT_EQ(refusal([&] { store().expungeNotebook(token, trashed.notebookGuid); }), "10 Notebook.guid");
}

TEST_F(FakeServiceTest, RefusalsCarryTheServicesCodes)
{
    alice.addNotebook("Work");
    alice.addTag("home");
    const std::string note = alice.addNote("Mow").guid;
    const auto create = [&](const std::optional<std::string> &title, const std::optional<std::string> &content) {
        EDAMNote created;
        if (title)
            created.__set_title(*title);
        if (content)
            created.__set_content(*content);
        return refusal([&] { store().createNote(token, created); });
    };
    EXPECT_EQ(create(std::nullopt, std::nullopt), "5 Note.title");
    EXPECT_EQ(create(" Mow", std::nullopt), "2 Note.title");
    EXPECT_EQ(create(std::string(256, 'm'), std::nullopt), "2 Note.title");
    for (const char *content : {"<div>front</div>", "<en-note>front", "front"})
        EXPECT_EQ(create("Mow", content), "11 Note.content") << content;
    EXPECT_EQ(create("Mow", FakeAccount::emptyContent()), "accepted");
    EDAMNote edit;
    edit.__set_guid(note);
    edit.__set_content("<en-note><div>back</en-note>");
    EXPECT_EQ(refusal([&] { store().updateNote(token, edit); }), "11 Note.content");

    for (const auto &[name, expected] : std::vector<std::pair<std::string, std::string>>{
             {"a,b", "2 Tag.name"}, {"HOME", "10 Tag.name"}, {"", "2 Tag.name"}}) {
        EDAMTag tag;
        tag.__set_name(name);
        EXPECT_EQ(refusal([&] { store().createTag(token, tag); }), expected) << name;
    }
    EDAMNotebook taken;
    taken.__set_name("work");
    EXPECT_EQ(refusal([&] { store().createNotebook(token, taken); }), "10 Notebook.name");
}

TEST_F(FakeServiceTest, FaultsHitOnlyTheirCallsAndOnlyAsOftenAsAsked)
{
    service.inject("listTags", FakeFault::userException(FakeAccount::BadDataFormat, "Tag").times(2));
    EXPECT_NO_THROW(store().listNotebooks(token));
    EXPECT_THROW(store().listTags(token), EDAMUserException);
    EXPECT_THROW(store().listTags(token), EDAMUserException);
    EXPECT_NO_THROW(store().listTags(token));

    service.inject("*", FakeFault::httpStatus(503).times(0));
    EXPECT_THROW(store().listNotebooks(token), TTransportException);
    EXPECT_THROW(store().listTags(token), TTransportException);
    service.clearFaults();
    EXPECT_NO_THROW(store().listTags(token));

    // The rate limit comes as a system exception that says how long to wait.
    service.inject("listNotebooks", FakeFault::rateLimit(30));
    try {
        store().listNotebooks(token);
        ADD_FAILURE() << "the rate limit did not reach the client";
    } catch (const EDAMSystemException &e) {
        EXPECT_EQ(e.description(),
                  QStringLiteral("EDAMSystemException(errorCode:19,message:\"rate limit reached\",rateLimitDuration:30)"));
    }
    EXPECT_NO_THROW(store().listNotebooks(token));
}
