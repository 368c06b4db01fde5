#include "service/EDAMNotFoundException.h"
#include "service/EDAMSystemException.h"
#include "service/EDAMUserException.h"
#include "service/ServiceConfiguration.h"
#include "service/TTransportException.h"
#include "tests/service/TestClients.h"
#include "tests/support/fakeservice/FakeService.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

bool hasGuid(const std::vector<std::string> &guids, const std::string &guid)
{
    return std::find(guids.begin(), guids.end(), guid) != guids.end();
}

template <typename T>
std::vector<std::string> guidsOf(const std::vector<T> &objects)
{
    std::vector<std::string> guids;
    for (const T &object : objects)
        guids.push_back(object.guid);
    return guids;
}

} // namespace

// Authentication as the application does it, then the user's note store at the base URL
// followed by the shard id.
TEST(FakeServiceTest, AuthenticatesAndServesTheUsersShard)
{
    FakeService service;
    service.addAccount("alice", "correct horse", "s7");
    service.addAccount("bob", "battery", "s8");
    service.exportEndpoints();
    EDAMUserStoreClient users = TestClients::userStore(ServiceConfiguration::userStoreUrl());

    // Only this client at this version.
    EXPECT_TRUE(users.checkVersion("Kelvara", 1, 15));
    EXPECT_FALSE(users.checkVersion("Kelvara", 1, 16));
    EXPECT_FALSE(users.checkVersion("Other", 1, 15));
    ASSERT_TRUE(service.lastVersionCheck());
    EXPECT_EQ(service.lastVersionCheck()->clientName, "Other");
    service.setVersionAccepted(false);
    EXPECT_FALSE(users.checkVersion("Kelvara", 1, 15));

    const auto refusal = [&](const std::function<void()> &call) {
        try {
            call();
        } catch (const EDAMUserException &e) {
            return e.description();
        }
        return QStringLiteral("accepted");
    };
    EXPECT_EQ(refusal([&] { users.authenticate("alice", "wrong", "kelvaraap", "0123456789abcdef"); }),
              QStringLiteral("EDAMUserException(errorCode:8,parameter:\"password\")"));
    EXPECT_EQ(refusal([&] { users.authenticate("carol", "correct horse", "kelvaraap", "0123456789abcdef"); }),
              QStringLiteral("EDAMUserException(errorCode:8,parameter:\"username\")"));

    // The whole result, nested structs and their lists included, reads through the client.
    const EDAMAuthenticationResult auth = users.authenticate("alice", "correct horse", "kelvaraap", "0123456789abcdef");
    EXPECT_EQ(service.lastAuthentication()->consumerKey, "kelvaraap");
    ASSERT_TRUE(auth.__isset.authenticationToken && auth.__isset.user && auth.__isset.publicUserInfo);
    EXPECT_EQ(auth.user, service.account("alice").user());
    EXPECT_EQ(auth.user.attributes.viewedPromotions.size(), 2u);
    EXPECT_TRUE(auth.user.accounting.__isset.uploadLimit);
    EXPECT_EQ(auth.user.shardId, "s7");
    const QString url = ServiceConfiguration::noteStoreUrl(QString::fromStdString(auth.user.shardId));
    EXPECT_EQ(url, service.noteStoreUrl("s7"));
    EXPECT_EQ(TestClients::noteStore(url).getDefaultNotebook(auth.authenticationToken).name, "alice's notebook");

    // Alice's token on Bob's shard, a token never issued, and a token that has expired.
    EXPECT_EQ(refusal([&] { TestClients::noteStore(service.noteStoreUrl("s8")).listTags(auth.authenticationToken); }),
              QStringLiteral("EDAMUserException(errorCode:8,parameter:\"authenticationToken\")"));
    EXPECT_EQ(refusal([&] { TestClients::noteStore(url).listTags("S=s7:U=1:H=0"); }),
              QStringLiteral("EDAMUserException(errorCode:8,parameter:\"authenticationToken\")"));
    service.expireTokens();
    EXPECT_EQ(refusal([&] { TestClients::noteStore(url).listTags(auth.authenticationToken); }),
              QStringLiteral("EDAMUserException(errorCode:9,parameter:\"authenticationToken\")"));
}

TEST(FakeServiceTest, EveryCallKeepsTheUpdateSequenceNumbers)
{
    FakeService service;
    FakeAccount &alice = service.addAccount("alice", "pw");
    const std::string token = service.issueToken("alice");
    const auto store = [&] { return TestClients::noteStore(service.noteStoreUrl("s1")); };
    int32_t usn = alice.updateCount();
    const auto next = [&] { return ++usn; };

    EDAMNotebook work;
    work.__set_name("Work");
    work = store().createNotebook(token, work);
    EXPECT_EQ(work.updateSequenceNum, next());
    EDAMNotebook clash;
    clash.__set_name("WORK");
    try {
        store().createNotebook(token, clash);
        ADD_FAILURE() << "a taken notebook name was accepted";
    } catch (const EDAMUserException &e) {
        EXPECT_EQ(e.description(), QStringLiteral("EDAMUserException(errorCode:10,parameter:\"Notebook.name\")"));
    }
    work.__set_name("Office");
    const int32_t renamed = store().updateNotebook(token, work);
    EXPECT_EQ(renamed, next());
    EXPECT_EQ(store().listNotebooks(token).size(), 2u);

    EDAMTag home;
    home.__set_name("home");
    home = store().createTag(token, home);
    EXPECT_EQ(home.updateSequenceNum, next());
    EDAMTag homeAgain;
    homeAgain.__set_name("Home");
    EXPECT_THROW(store().createTag(token, homeAgain), EDAMUserException);
    home.__set_name("house");
    EXPECT_EQ(store().updateTag(token, home), next());

    EDAMNote note;
    note.__set_title("Paint the fence");
    note.__set_content("<en-note>white</en-note>");
    note.__set_notebookGuid(work.guid);
    note.__set_tagNames({"House", "errands"}); // one found by name, one created
    note = store().createNote(token, note);
    usn += 2;
    EXPECT_EQ(note.updateSequenceNum, usn);
    EXPECT_FALSE(note.__isset.content);
    ASSERT_EQ(note.tagGuids.size(), 2u);
    EXPECT_EQ(note.tagGuids[0], home.guid);
    EXPECT_EQ(store().listTags(token).size(), 2u);
    EXPECT_EQ(store().getNoteContent(token, note.guid), "<en-note>white</en-note>");
    EDAMNote edit;
    edit.__set_guid(note.guid);
    edit.__set_title("Paint the gate");
    edit.__set_updated(1700000000000);
    const EDAMNote edited = store().updateNote(token, edit);
    EXPECT_EQ(edited.updateSequenceNum, next());
    EXPECT_EQ(edited.updated, 1700000000000);
    EXPECT_EQ(store().getNoteContent(token, note.guid), "<en-note>white</en-note>") << "unset content kept";

    const EDAMNote spare = alice.addNote("Spare");
    next();
    EXPECT_EQ(store().expungeNote(token, spare.guid), next());
    EXPECT_EQ(store().expungeTag(token, note.tagGuids[1]), next());
    EXPECT_THROW(store().expungeTag(token, "no-such-tag"), EDAMNotFoundException);
    EXPECT_THROW(store().getNoteContent(token, spare.guid), EDAMNotFoundException);

    // Everything since the start, in order, with what was expunged.
    const EDAMSyncChunk all = store().getSyncChunk(token, 0, 100, false);
    EXPECT_EQ(all.updateCount, usn);
    EXPECT_EQ(all.chunkHighUSN, usn);
    EXPECT_EQ(guidsOf(all.notebooks), guidsOf(alice.notebooks()));
    EXPECT_EQ(guidsOf(all.tags), std::vector<std::string>{home.guid});
    ASSERT_EQ(all.notes.size(), 1u);
    EXPECT_FALSE(all.notes[0].__isset.content);
    EXPECT_EQ(all.notes[0].tagGuids, std::vector<std::string>{home.guid}) << "the expunged tag left the note";
    EXPECT_TRUE(hasGuid(all.expungedNotes, spare.guid));
    EXPECT_EQ(all.expungedTags, std::vector<std::string>{note.tagGuids[1]});

    // A window: the first two entries after the notebook's rename.
    const EDAMSyncChunk window = store().getSyncChunk(token, renamed, 2, false);
    EXPECT_EQ(window.chunkHighUSN, edited.updateSequenceNum);
    EXPECT_EQ(guidsOf(window.tags), std::vector<std::string>{home.guid});
    EXPECT_EQ(guidsOf(window.notes), std::vector<std::string>{note.guid});
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
    EXPECT_EQ(trashed.notebookGuid, store().getDefaultNotebook(token).guid);
    EXPECT_EQ(store().getSyncChunk(token, 0, 100, false).expungedNotebooks, std::vector<std::string>{work.guid});
    EXPECT_THROW(store().expungeNotebook(token, trashed.notebookGuid), EDAMUserException);
}

// What the synchronisation relies on when it sends only what changed, and the refusals it
// must tell apart.
TEST(FakeServiceTest, UpdatesKeepWhatTheyLeaveUnsetAndRefusalsCarryTheServicesCodes)
{
    FakeService service;
    FakeAccount &alice = service.addAccount("alice", "pw");
    const std::string token = service.issueToken("alice");
    const auto store = [&] { return TestClients::noteStore(service.noteStoreUrl("s1")); };
    const EDAMTag parent = alice.addTag("home");
    const EDAMTag child = alice.addTag("garden", parent.guid);
    const EDAMNote note = alice.addNote("Mow", "<en-note>front</en-note>", {}, {child.guid});
    const EDAMNotebook work = alice.addNotebook("Work");

    EDAMTag renamed;
    renamed.__set_guid(child.guid);
    renamed.__set_name("yard");
    store().updateTag(token, renamed);
    EDAMNote retitled;
    retitled.__set_guid(note.guid);
    retitled.__set_title("Mow the lawn");
    store().updateNote(token, retitled);
    EDAMNotebook untouched;
    untouched.__set_guid(work.guid);
    store().updateNotebook(token, untouched);
    const EDAMSyncChunk chunk = store().getSyncChunk(token, 0, 100, false);
    ASSERT_EQ(chunk.tags.size(), 2u);
    EXPECT_EQ(chunk.tags[1].name, "yard");
    EXPECT_EQ(chunk.tags[1].parentGuid, parent.guid);
    ASSERT_EQ(chunk.notes.size(), 1u);
    EXPECT_EQ(chunk.notes[0].title, "Mow the lawn");
    EXPECT_EQ(chunk.notes[0].tagGuids, std::vector<std::string>{child.guid});
    EXPECT_EQ(store().getNoteContent(token, note.guid), "<en-note>front</en-note>");
    EXPECT_EQ(alice.notebooks().back().name, "Work");

    const auto code = [&](const std::function<void()> &call) {
        try {
            call();
        } catch (const EDAMUserException &e) {
            return std::to_string(e.errorCode) + " " + e.parameter;
        }
        return std::string("accepted");
    };
    const auto create = [&](const std::optional<std::string> &title, const std::optional<std::string> &content) {
        EDAMNote created;
        if (title)
            created.__set_title(*title);
        if (content)
            created.__set_content(*content);
        return code([&] { store().createNote(token, created); });
    };
    EXPECT_EQ(create(std::nullopt, std::nullopt), "5 Note.title");
    EXPECT_EQ(create(" Mow", std::nullopt), "2 Note.title");
    EXPECT_EQ(create("Mow", "<div>front</div>"), "11 Note.content");
    EXPECT_EQ(create("Mow", "<en-note>front"), "11 Note.content");
    EXPECT_EQ(create("Mow", "front"), "11 Note.content");
    EXPECT_EQ(create("Mow", FakeAccount::emptyContent()), "accepted");
    retitled.__set_content("<en-note><div>back</en-note>");
    EXPECT_EQ(code([&] { store().updateNote(token, retitled); }), "11 Note.content");
    EDAMTag comma;
    comma.__set_name("a,b");
    EXPECT_EQ(code([&] { store().createTag(token, comma); }), "2 Tag.name");
    EDAMNotebook taken;
    taken.__set_name("work");
    EXPECT_EQ(code([&] { store().createNotebook(token, taken); }), "10 Notebook.name");
}

TEST(FakeServiceTest, FaultsHitOnlyTheirCallsAndOnlyAsOftenAsAsked)
{
    FakeService service;
    service.addAccount("alice", "pw");
    const std::string token = service.issueToken("alice");
    const auto store = [&] { return TestClients::noteStore(service.noteStoreUrl("s1")); };

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
        EXPECT_EQ(e.errorCode, FakeAccount::RateLimitReached);
        EXPECT_TRUE(e.__isset.rateLimitDuration);
        EXPECT_EQ(e.description(),
                  QStringLiteral("EDAMSystemException(errorCode:19,message:\"rate limit reached\",rateLimitDuration:30)"));
    }
    EXPECT_NO_THROW(store().listNotebooks(token));

    // A drop hits one request.
    service.inject("listTags", FakeFault::dropConnection());
    EXPECT_NO_THROW(store().listTags(token)) << "a read that found its connection closed was not sent again";
    EXPECT_NO_THROW(store().listTags(token));
}
