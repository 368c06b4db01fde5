#include "service/EDAMNotFoundException.h"
#include "service/EDAMUserException.h"
#include "tests/service/TestClients.h"
#include "tests/support/fakeservice/FakeService.h"

#include <gtest/gtest.h>

#include <functional>

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

// What the synchronisation relies on: every change takes the account's next number, an update
// keeps what it leaves unset, and a sync chunk lists changes in their order.
TEST_F(FakeServiceTest, ChangesTakeTheNextNumbersAndSyncChunksListThem)
{
    const EDAMNotebook work = alice.addNotebook("Work");
    const EDAMTag home = alice.addTag("home");
    EDAMNote note;
    note.__set_title("Paint the fence");
    note.__set_content("<en-note>white</en-note>");
    note.__set_notebookGuid(work.guid);
    note.__set_tagGuids({home.guid});
    note = store().createNote(token, note);
    EXPECT_EQ(note.updateSequenceNum, 4);
    EXPECT_FALSE(note.__isset.content);
    EDAMNote retitled;
    retitled.__set_guid(note.guid);
    retitled.__set_title("Paint the gate");
    EXPECT_EQ(store().updateNote(token, retitled).updateSequenceNum, 5);
    EXPECT_EQ(store().getNoteContent(token, note.guid), "<en-note>white</en-note>");
    const EDAMNote spare = alice.addNote("Spare");
    EXPECT_EQ(store().expungeNote(token, spare.guid), 7);
    EXPECT_THROW(store().getNoteContent(token, spare.guid), EDAMNotFoundException);

    const EDAMSyncChunk all = store().getSyncChunk(token, 0, 100, false);
    EXPECT_EQ(all.chunkHighUSN, 7);
    EXPECT_EQ(guidsOf(all.notebooks), guidsOf(alice.notebooks()));
    EXPECT_EQ(guidsOf(all.tags), std::vector<std::string>{home.guid});
    ASSERT_EQ(all.notes.size(), 1u);
    EXPECT_EQ(all.notes[0].title, "Paint the gate");
    EXPECT_EQ(all.notes[0].tagGuids, std::vector<std::string>{home.guid}) << "an update keeps what it leaves unset";
    EXPECT_FALSE(all.notes[0].__isset.content);
    EXPECT_EQ(all.expungedNotes, std::vector<std::string>{spare.guid});
    const EDAMSyncChunk window = store().getSyncChunk(token, 2, 2, false);
    EXPECT_EQ(window.chunkHighUSN, 5);
    EXPECT_EQ(guidsOf(window.notes), std::vector<std::string>{note.guid});
    EXPECT_FALSE(window.__isset.notebooks || window.__isset.expungedNotes);
    EXPECT_FALSE(store().getSyncChunk(token, 0, 100, true).__isset.expungedNotes);
    EXPECT_FALSE(store().getSyncChunk(token, 7, 100, false).__isset.chunkHighUSN);

    // Expunging a notebook keeps its notes, in the trash of the default notebook.
    EXPECT_EQ(store().expungeNotebook(token, work.guid), 9);
    EXPECT_FALSE(alice.notes().front().active);
    EXPECT_EQ(alice.notes().front().notebookGuid, alice.defaultNotebook().guid);
}

TEST_F(FakeServiceTest, RefusesWhatTheServiceRefuses)
{
    alice.addNotebook("Work");
    alice.addTag("home");
    const auto note = [&](const std::string &title, const std::string &content) {
        EDAMNote created;
        created.__set_title(title);
        created.__set_content(content);
        return refusal([&] { store().createNote(token, created); });
    };
    EXPECT_EQ(note(" Mow", "<en-note/>"), "2 Note.title");
    for (const char *content : {"<div>front</div>", "<en-note>front", "front"})
        EXPECT_EQ(note("Mow", content), "11 Note.content") << content;
    EXPECT_EQ(note("Mow", "<?xml version=\"1.0\"?><en-note><div>x</div></en-note>"), "accepted");
    EXPECT_EQ(refusal([&] { store().createNote(token, EDAMNote()); }), "5 Note.title");
    for (const auto &[name, expected] : std::vector<std::pair<std::string, std::string>>{
             {"a,b", "2 Tag.name"}, {"HOME", "10 Tag.name"}, {"", "2 Tag.name"}}) {
        EDAMTag tag;
        tag.__set_name(name);
        EXPECT_EQ(refusal([&] { store().createTag(token, tag); }), expected) << name;
    }
    EDAMNotebook taken;
    taken.__set_name("work");
    EXPECT_EQ(refusal([&] { store().createNotebook(token, taken); }), "10 Notebook.name");
    EXPECT_EQ(refusal([&] { store().expungeNotebook(token, alice.defaultNotebook().guid); }), "10 Notebook.guid");
}
