#include "tests/service/TestClients.h"
#include "tests/support/fakeservice/FakeService.h"

#include <gtest/gtest.h>

// The sync suite runs on the fake and would not notice these amiss: a note comes back from a
// create, an update or a sync chunk without its content, an update keeps what it leaves unset, a
// full sync lists nothing expunged, and a chunk past the last change names no high number.
TEST(FakeServiceTest, NotesComeBackWithoutContentAndSyncChunksListOnlyWhatIsAsked)
{
    FakeService service;
    FakeAccount &alice = service.addAccount("alice", "correct horse", "s1");
    const std::string token = service.issueToken("alice");
    const auto store = [&] { return TestClients::noteStore(service.noteStoreUrl("s1")); };
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
