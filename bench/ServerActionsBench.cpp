#include "bench/BenchAccount.h"
#include "content/TypesConversor.h"
#include "sync/EvernoteSync.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A run's service: the account, and one EvernoteSync authenticated for the whole benchmark, as
// for a whole run.
class RunService : public BenchAccount
{
public:
    std::unique_ptr<EvernoteSync> sync = EvernoteSync::init();
};

// A note written elsewhere as well: 10 KB of paragraphs around the task's markers.
std::string tenKilobytesOfContent()
{
    std::string body;
    while (body.size() < 10 * 1024)
        body += "<div>Notes from the meeting with the plumber about the kitchen tap and the boiler.</div>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE en-note SYSTEM \"http://xml.evernote.com/pub/enml2.dtd\">\n"
           "<en-note>" + body + "<div>.DT.2024-05-17</div></en-note>";
}

} // namespace

// Converting a changed task for its update: the content fetch over loopback and the markers
// changed in the 10 KB the service holds.
static void BM_ConvertUpdatedNote(benchmark::State &state)
{
    RunService run;
    if (!run.sync) {
        state.SkipWithError("authentication failed");
        return;
    }
    const EDAMNote note = run.alice.addNote("Fix the tap", tenKilobytesOfContent());
    TypesConversor::Task task;
    task.guid = QString::fromStdString(note.guid);
    task.title = QStringLiteral("Fix the tap");
    task.updated = note.updated + 1000;
    task.completed = true;
    task.notesText = QStringLiteral("Ask about the boiler too.");
    task.notebookGuid = QString::fromStdString(note.notebookGuid);
    const TypesConversor::ContentFetch fetch = run.sync->contentFetch();
    for (auto _ : state)
        benchmark::DoNotOptimize(TypesConversor::noteWithGuid(task, fetch));
}
BENCHMARK(BM_ConvertUpdatedNote)->Unit(benchmark::kMicrosecond);

// One createNote of a run, on the fresh connection every change takes.
static void BM_ServerActionsCreateNote(benchmark::State &state)
{
    RunService run;
    if (!run.sync) {
        state.SkipWithError("authentication failed");
        return;
    }
    EDAMNote note;
    note.__set_title("Call Ann");
    note.__set_created(1715900000000);
    note.__set_notebookGuid(run.alice.defaultNotebook().guid);
    for (auto _ : state)
        benchmark::DoNotOptimize(run.sync->createNote(note));
}
BENCHMARK(BM_ServerActionsCreateNote)->Unit(benchmark::kMicrosecond);
