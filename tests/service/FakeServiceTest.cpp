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

class FakeServiceTest : public ::testing::Test
{
protected:
    EDAMNoteStoreClient store() { return TestClients::noteStore(service.noteStoreUrl("s1")); }

    FakeService service;
    FakeAccount &alice = service.addAccount("alice", "correct horse", "s1");
    std::string token = service.issueToken("alice");
};

} // namespace

// The sync suite runs on the fake and would not notice these amiss: a note comes back from a
// create, an update or a sync chunk without its content, an update keeps what it leaves unset, a
// full sync lists nothing expunged, and a chunk past the last change names no high number.
TEST_F(FakeServiceTest, NotesComeBackWithoutContentAndSyncChunksListOnlyWhatIsAsked)
{
    const EDAMTag home = alice.addTag("home");
    EDAMNote note;
    note.__set_title("Paint the fence");
    note.__set_content("<en-note>white</en-note>");
    note.__set_tagGuids({home.guid});
    note = store().createNote(token, note);
    EXPECT_FALSE(note.__isset.content);
    EDAMNote retitled;
    retitled.__set_guid(note.guid);
    retitled.__set_title("Paint the gate");
    EXPECT_FALSE(store().updateNote(token, retitled).__isset.content);
    const std::string spare = alice.addNote("Spare").guid;
    store().expungeNote(token, spare);

    const EDAMSyncChunk all = store().getSyncChunk(token, 0, 100, false);
    ASSERT_EQ(all.notes.size(), 1u);
    EXPECT_EQ(all.notes[0].title, "Paint the gate");
    EXPECT_EQ(all.notes[0].tagGuids, std::vector<std::string>{home.guid}) << "an update keeps what it leaves unset";
    EXPECT_FALSE(all.notes[0].__isset.content);
    EXPECT_EQ(all.expungedNotes, std::vector<std::string>{spare});
    EXPECT_FALSE(store().getSyncChunk(token, 0, 100, true).__isset.expungedNotes);
    EXPECT_FALSE(store().getSyncChunk(token, all.chunkHighUSN, 100, false).__isset.chunkHighUSN);
}

// What the product's own rules keep it from sending, so that only the fake can show them refused.
TEST_F(FakeServiceTest, RefusesWhatTheServiceRefuses)
{
    const auto note = [&](const std::string &title, const std::string &content) {
        EDAMNote created;
        created.__set_title(title);
        created.__set_content(content);
        return refusal([&] { store().createNote(token, created); });
    };
    EXPECT_EQ(note(" Mow", "<en-note/>"), "2 Note.title");
    for (const char *content : {"<div>front</div>", "<en-note>front", "front"})
        EXPECT_EQ(note("Mow", content), "11 Note.content") << content;
    EXPECT_EQ(refusal([&] { store().createNote(token, EDAMNote()); }), "5 Note.title");
    for (const char *name : {"a,b", ""}) {
        EDAMTag tag;
        tag.__set_name(name);
        EXPECT_EQ(refusal([&] { store().createTag(token, tag); }), "2 Tag.name") << name;
    }
}
