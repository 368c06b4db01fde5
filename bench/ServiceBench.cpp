#include "service/EDAMNoteStoreClient.h"
#include "service/TBinaryProtocol.h"
#include "service/THTTPClient.h"
#include "tests/support/fakeservice/FakeService.h"

#include <thrift/transport/TBufferTransports.h>

#include <benchmark/benchmark.h>

using apache::thrift::transport::TMemoryBuffer;

namespace {

// A task's note as the content format writes it: a due date, the completed marker and a
// short notes text inside the template.
const std::string TaskContent =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE en-note SYSTEM \"http://xml.evernote.com/pub/enml2.dtd\">\n"
    "<en-note><div>.DT.2024-05-17</div><div>.KVDone.</div>"
    "<div>.KVONotes.Call the plumber about the kitchen tap before Friday.KVCNotes.</div></en-note>";

std::string guid(const char *kind, int i)
{
    char text[48];
    std::snprintf(text, sizeof text, "%s%08x-1b2c-4d5e-8f90-a1b2c3d4e5f6", kind, i);
    return text;
}

std::string syncChunkBytes(int notes, int notebooks, int tags)
{
    EDAMSyncChunk chunk;
    chunk.__set_currentTime(1715900000000);
    int32_t usn = 0;
    for (int i = 0; i < notebooks; ++i) {
        EDAMNotebook notebook;
        notebook.__set_guid(guid("b", i));
        notebook.__set_name("Notebook " + std::to_string(i));
        notebook.__set_updateSequenceNum(++usn);
        notebook.__set_defaultNotebook(i == 0);
        notebook.__set_serviceCreated(1700000000000 + i);
        notebook.__set_serviceUpdated(1700000500000 + i);
        chunk.notebooks.push_back(notebook);
    }
    for (int i = 0; i < tags; ++i) {
        EDAMTag tag;
        tag.__set_guid(guid("t", i));
        tag.__set_name("tag " + std::to_string(i));
        tag.__set_updateSequenceNum(++usn);
        chunk.tags.push_back(tag);
    }
    for (int i = 0; i < notes; ++i) {
        EDAMNote note;
        note.__set_guid(guid("n", i));
        note.__set_title("Task number " + std::to_string(i) + " of the benchmark");
        note.__set_contentHash(std::string(16, char(i)));
        note.__set_contentLength(int32_t(TaskContent.size()));
        note.__set_created(1700000000000 + i);
        note.__set_updated(1700001000000 + i);
        note.__set_active(i % 10 != 0);
        note.__set_updateSequenceNum(++usn);
        note.__set_notebookGuid(guid("b", i % notebooks));
        note.__set_tagGuids({guid("t", i % tags), guid("t", (i + 7) % tags)});
        EDAMNoteAttributes attributes;
        attributes.__set_source("desktop.linux");
        note.__set_attributes(attributes);
        chunk.notes.push_back(note);
    }
    chunk.__isset.notebooks = chunk.__isset.tags = chunk.__isset.notes = true;
    chunk.__set_chunkHighUSN(usn);
    chunk.__set_updateCount(usn);

    auto buffer = std::make_shared<TMemoryBuffer>();
    TBinaryProtocol protocol(buffer);
    chunk.write(&protocol);
    return buffer->getBufferAsString();
}

} // namespace

// Calls over loopback HTTP with a new transport, protocol and client per call, as the server
// actions make them. A read finds the connection open; a change goes out on a fresh one every
// time, the price of a change never reaching the service twice.
template <typename Call>
static void loopbackCalls(benchmark::State &state, const Call &call)
{
    FakeService service;
    FakeAccount &account = service.addAccount("bench", "pw");
    const std::string noteGuid = account.addNote("Fix the tap", TaskContent).guid;
    const EDAMTag tag = account.addTag("errands");
    const std::string token = service.issueToken("bench");
    const QUrl url(service.noteStoreUrl("s1"));
    for (auto _ : state) {
        EDAMNoteStoreClient client(std::make_shared<TBinaryProtocol>(std::make_shared<THTTPClient>(url)));
        benchmark::DoNotOptimize(call(client, token, noteGuid, tag));
    }
}

static void BM_GetNoteContentLoopback(benchmark::State &state)
{
    loopbackCalls(state, [](EDAMNoteStoreClient &client, const std::string &token, const std::string &noteGuid,
                            const EDAMTag &) { return client.getNoteContent(token, noteGuid); });
}
BENCHMARK(BM_GetNoteContentLoopback)->Unit(benchmark::kMicrosecond);

static void BM_UpdateTagLoopback(benchmark::State &state)
{
    loopbackCalls(state, [](EDAMNoteStoreClient &client, const std::string &token, const std::string &,
                            const EDAMTag &tag) { return client.updateTag(token, tag); });
}
BENCHMARK(BM_UpdateTagLoopback)->Unit(benchmark::kMicrosecond);

// Decoding a sync chunk of 1,000 notes, 20 notebooks and 50 tags.
static void BM_ReadSyncChunk1000(benchmark::State &state)
{
    std::string bytes = syncChunkBytes(1000, 20, 50);
    for (auto _ : state) {
        auto buffer = std::make_shared<TMemoryBuffer>(reinterpret_cast<uint8_t *>(bytes.data()),
                                                      uint32_t(bytes.size()));
        TBinaryProtocol protocol(buffer);
        EDAMSyncChunk chunk;
        chunk.read(&protocol);
        benchmark::DoNotOptimize(chunk.notes.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_ReadSyncChunk1000)->Unit(benchmark::kMillisecond);
