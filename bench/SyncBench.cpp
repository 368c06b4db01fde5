// Synchronisation runs as the driver makes them: main() on the operation queue's worker while
// the main thread serves its hops, over loopback HTTP to the fake note service, on real store
// files. The clock covers the run only; the account, the store and the changes are made first.
#include "bench/BenchAccount.h"
#include "bench/ChildFigures.h"
#include "bench/LargeTaskStore.h"
#include "bench/ProcessStatus.h"
#include "bench/SyncBench.h"

#include "content/CompletedContent.h"
#include "content/DueDateContent.h"
#include "content/TaskContent.h"
#include "core/Defaults.h"
#include "core/MainThread.h"
#include "core/NotificationCenter.h"
#include "core/OperationQueue.h"
#include "core/SettingsKeys.h"
#include "core/credentials/SharedData.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"
#include "core/store/StoreStack.h"
#include "sync/FirstSync.h"
#include "sync/MainSync.h"
#include "tests/support/fakeservice/FakeService.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>

namespace {
using Clock = std::chrono::steady_clock;

double milliseconds(std::chrono::nanoseconds duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// A note's content as Kelvara writes it: the markers of the task's due date, completion and
// notes text where it has them, after what the user wrote elsewhere, if anything.
std::string noteContent(const QString &body, const QDateTime &due, bool completed, const QString &notes)
{
    QString content = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                     "<!DOCTYPE en-note SYSTEM \"http://xml.evernote.com/pub/enml2.dtd\">\n"
                                     "<en-note>%1</en-note>").arg(body);
    if (due.isValid())
        content = DueDateContent::setDueDate(due, content).value_or(content);
    if (completed)
        content = CompletedContent::setCompletedInContent(content).value_or(content);
    if (!notes.isEmpty())
        content = TaskContent::setTaskc(notes, content).value_or(content);
    return content.toStdString();
}

QDateTime dueDay(int daysFromToday)
{
    return QDateTime(QDate::currentDate().addDays(daysFromToday), QTime(0, 0));
}

struct RunResult
{
    bool success = false;
    double ms = 0;
    double longestHopMs = 0; // the longest the main thread spent in one of the run's hops
};

// One run, timed from being queued to the end of the wait that serves its hops.
RunResult runOnQueue(SyncRun &run)
{
    RunResult result;
    NotificationCenter::defaultCenter().addObserver(
        &result, QStringLiteral("hideSyncStatus"),
        [&result](const Notification &n) { result.success = n.userInfo.value(QStringLiteral("success")).toBool(); },
        &run, NotificationCenter::Delivery::PostingThread);
    OperationQueue queue;
    takeLongestBlockingCall();
    const Clock::time_point start = Clock::now();
    queue.addOperation([&run] { run.main(); });
    queue.waitUntilAllOperationsAreFinished();
    result.ms = milliseconds(Clock::now() - start);
    result.longestHopMs = milliseconds(takeLongestBlockingCall());
    NotificationCenter::defaultCenter().removeObserver(&result);
    return result;
}

void setSyncSettings(bool firstSync, int32_t chunkHighUSN)
{
    Defaults &defaults = Defaults::standardUserDefaults();
    defaults.setBool(Key::firstSync, firstSync);
    defaults.setInteger(Key::chunkHighUSN, chunkHighUSN);
}

// The account a user joins from a new computer: 5,000 notes in 50 notebooks, 200 tags, a note
// carrying none, one or two; most with a due date, some completed, some with notes text, half
// with a paragraph written elsewhere.
void fillAccount(FakeAccount &alice)
{
    std::vector<std::string> notebooks{alice.defaultNotebook().guid};
    for (int i = 1; i < 50; ++i)
        notebooks.push_back(alice.addNotebook("Project " + std::to_string(i)).guid);
    std::vector<std::string> tags;
    for (int i = 0; i < 200; ++i)
        tags.push_back(alice.addTag("label " + std::to_string(i)).guid);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (int i = 0; i < 5000; ++i) {
        EDAMNote note;
        note.__set_title("Task " + std::to_string(i) + ": call the plumber about the boiler");
        const QString body = i % 2 ? QString() : QStringLiteral("<div>Ask for the quote in writing, and whether the old valve can stay.</div>");
        note.__set_content(noteContent(body, i % 5 ? dueDay(i % 61 - 30) : QDateTime(), i % 4 == 0,
                                       i % 3 == 0 ? QStringLiteral("Bring the invoice from March.") : QString()));
        note.__set_notebookGuid(notebooks[size_t(i % 50)]);
        std::vector<std::string> noteTags;
        for (int t = 0; t < i % 3; ++t)
            noteTags.push_back(tags[size_t((i * 7 + t * 13) % 200)]);
        if (!noteTags.empty())
            note.__set_tagGuids(noteTags);
        note.__set_created(now - qint64(i) * 60'000);
        note.__set_updated(now - qint64(i) * 60'000);
        alice.createNote(note);
    }
}

// A long-kept list already joined to Alice's account: the 50,000 tasks of LargeTaskStore copied
// into a folder of its own, each with the guid of a note of the account that holds the same task
// (notebooks and tags likewise), nothing waiting to be sent, and the settings of a store whose
// last run took in everything up to the account's update count.
class JoinedStore : public BenchAccount
{
public:
    JoinedStore()
    {
        const QString folder = m_dir.filePath(QStringLiteral("Kelvara"));
        QDir().mkpath(folder);
        const QByteArray copy = QFile::encodeName(folder + QStringLiteral("/storedata"));
        sqlite3 *db = nullptr;
        // A copy through SQLite holds what the source's WAL holds too.
        sqlite3_open_v2(QFile::encodeName(LargeTaskStore::folder() + QStringLiteral("/storedata")).constData(), &db,
                        SQLITE_OPEN_READONLY, nullptr);
        sqlite3_exec(db, ("VACUUM INTO '" + copy + "'").constData(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        sqlite3_open(copy.constData(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        join(db);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        setSyncSettings(false, m_updateCount);

        m_stack = std::make_unique<StoreStack>(folder);
        QHash<QString, MyNote *> byGuid;
        for (ManagedObject *object : context().fetch(QLatin1String(MyNote::entityName)))
            byGuid.insert(static_cast<MyNote *>(object)->guid(), static_cast<MyNote *>(object));
        for (const std::string &guid : guids)
            tasks.push_back(byGuid.value(QString::fromStdString(guid)));
    }

    ManagedObjectContext &context() { return *m_stack->managedObjectContext(); }
    bool ready() { return m_stack->managedObjectContext() && tasks.size() == size_t(LargeTaskStore::taskCount)
                                && std::count(tasks.begin(), tasks.end(), nullptr) == 0; }

    std::vector<std::string> guids; // of the tasks, in the store's order
    std::vector<MyNote *> tasks;    // the same order

private:
    // Runs `sql` for every row, which `row` reads.
    static void eachRow(sqlite3 *db, const char *sql, const std::function<void(sqlite3_stmt *)> &row)
    {
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW)
            row(statement);
        sqlite3_finalize(statement);
    }
    static QString textColumn(sqlite3_stmt *statement, int column)
    {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column)));
    }
    void markJoined(sqlite3 *db, const char *table, int pk, const std::string &guid, int32_t usn)
    {
        const QByteArray sql = QStringLiteral("UPDATE %1 SET guid = '%2', updateSequenceNum = %3, needUpdate = 0 WHERE Z_PK = %4")
                                   .arg(QLatin1String(table), QString::fromStdString(guid)).arg(usn).arg(pk).toUtf8();
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
        m_updateCount = std::max(m_updateCount, usn);
    }

    void join(sqlite3 *db)
    {
        std::map<int, std::string> notebooks, tags;
        eachRow(db, "SELECT Z_PK, name FROM MyNotebook ORDER BY Z_PK", [&](sqlite3_stmt *row) {
            const int pk = sqlite3_column_int(row, 0);
            const EDAMNotebook notebook = notebooks.empty() ? alice.defaultNotebook() : alice.addNotebook(textColumn(row, 1).toStdString());
            notebooks[pk] = notebook.guid;
            markJoined(db, "MyNotebook", pk, notebook.guid, notebook.updateSequenceNum);
        });
        eachRow(db, "SELECT Z_PK, name FROM MyTag ORDER BY Z_PK", [&](sqlite3_stmt *row) {
            const EDAMTag tag = alice.addTag(textColumn(row, 1).toStdString());
            tags[sqlite3_column_int(row, 0)] = tag.guid;
            markJoined(db, "MyTag", sqlite3_column_int(row, 0), tag.guid, tag.updateSequenceNum);
        });
        std::map<int, std::vector<std::string>> tagsOfTask;
        eachRow(db, "SELECT owner_pk, member_pk FROM MyNote_tags ORDER BY rowid", [&](sqlite3_stmt *row) {
            tagsOfTask[sqlite3_column_int(row, 0)].push_back(tags[sqlite3_column_int(row, 1)]);
        });
        eachRow(db, "SELECT Z_PK, title, content, dueDated, completed, created, updated, notebook_pk FROM MyNote ORDER BY Z_PK",
                [&](sqlite3_stmt *row) {
            const int pk = sqlite3_column_int(row, 0);
            EDAMNote note;
            note.__set_title(textColumn(row, 1).toStdString());
            const QDateTime due = sqlite3_column_type(row, 3) == SQLITE_NULL
                                      ? QDateTime() : QDateTime::fromMSecsSinceEpoch(sqlite3_column_int64(row, 3));
            note.__set_content(noteContent(QString(), due, sqlite3_column_int(row, 4), textColumn(row, 2)));
            note.__set_created(sqlite3_column_int64(row, 5));
            note.__set_updated(sqlite3_column_int64(row, 6));
            note.__set_notebookGuid(notebooks[sqlite3_column_int(row, 7)]);
            if (const auto it = tagsOfTask.find(pk); it != tagsOfTask.end())
                note.__set_tagGuids(it->second);
            const EDAMNote created = alice.createNote(note);
            markJoined(db, "MyNote", pk, created.guid, created.updateSequenceNum);
            guids.push_back(created.guid);
        });
    }

    QTemporaryDir m_dir;
    std::unique_ptr<StoreStack> m_stack;
    int32_t m_updateCount = 0;
};

} // namespace

int FirstSyncChild::run()
{
    BenchAccount account;
    fillAccount(account.alice);
    QTemporaryDir dir;
    StoreStack stack(dir.filePath(QStringLiteral("Kelvara"))); // starts with one notebook
    ManagedObjectContext *context = stack.managedObjectContext();
    if (!context)
        return 1;
    setSyncSettings(true, 0);
    account.service.clearRequests();
    const double peakBefore = ProcessStatus::megabytes("VmHWM");
    FirstSync sync(context);
    const RunResult run = runOnQueue(sync);
    if (!run.success)
        return 1;
    ChildFigures::report("time_ms", run.ms);
    ChildFigures::report("peak_growth_mb", ProcessStatus::megabytes("VmHWM") - peakBefore);
    ChildFigures::report("requests", account.service.requests().size());
    ChildFigures::report("longest_hop_ms", run.longestHopMs);
    ChildFigures::report("tasks", context->count(QLatin1String(MyNote::entityName)));
    return 0;
}

// An empty store joining an account of 5,000 notes, each iteration a fresh process. Counters:
// the requests the run made, its longest hop and the growth of the peak memory (the largest of
// the iterations for those two), the tasks the store holds afterwards.
static void BM_FirstSync5k(benchmark::State &state)
{
    ChildFigures::iterate(
        state, [] { return ChildFigures::run({QLatin1String(FirstSyncChild::childArgument)}, 300'000); },
        [](const QString &name) { return name == QLatin1String("longest_hop_ms") || name == QLatin1String("peak_growth_mb"); });
}
BENCHMARK(BM_FirstSync5k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// Incremental runs on a joined 50,000-task store, timed one by one: `prepare` makes each run's
// changes first, `inspect` sees the requests the run made. Counters: requests, longest hop.
static void incrementalRuns(benchmark::State &state, const std::function<void(JoinedStore &, int round)> &prepare,
                     const std::function<void(const QList<FakeRequest> &)> &inspect)
{
    JoinedStore store;
    if (!store.ready()) {
        state.SkipWithError("the joined store did not open");
        return;
    }
    double requests = 0, longestHop = 0;
    int round = 0;
    for (auto _ : state) {
        prepare(store, ++round);
        store.service.clearRequests();
        MainSync sync(&store.context());
        const RunResult run = runOnQueue(sync);
        if (!run.success) {
            state.SkipWithError("the run failed");
            return;
        }
        state.SetIterationTime(run.ms / 1000.0);
        const QList<FakeRequest> made = store.service.requests();
        requests += double(made.size());
        inspect(made);
        longestHop = std::max(longestHop, run.longestHopMs);
    }
    state.counters["requests"] = requests / double(state.iterations());
    state.counters["longest_hop_ms"] = longestHop;
}

// A run when nothing changed on either side.
static void BM_IncrementalSyncIdle50k(benchmark::State &state)
{
    incrementalRuns(state, [](JoinedStore &, int) {}, [](const QList<FakeRequest> &) {});
}
BENCHMARK(BM_IncrementalSyncIdle50k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(20);

// 100 tasks edited here and 100 other notes edited elsewhere, spread over the 50,000, before
// each run; every round changes them again, so each run has the same work.
static void BM_IncrementalSync200Changes50k(benchmark::State &state)
{
    constexpr int changes = 100;
    std::vector<QByteArray> localGuids;
    double localRequests = 0;
    const auto change = [&](JoinedStore &store, int round) {
        const size_t spread = store.tasks.size() / changes;
        localGuids.clear();
        for (int i = 0; i < changes; ++i) {
            MyNote *task = store.tasks[size_t(i) * spread + 11];
            task->setTitle(QStringLiteral("Task %1: call back about the quote, round %2").arg(i).arg(round));
            task->setDueDated(dueDay(round % 7));
            localGuids.push_back(QByteArray::fromStdString(store.guids[size_t(i) * spread + 11]));
        }
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        for (int i = 0; i < changes; ++i) {
            EDAMNote note;
            note.__set_guid(store.guids[size_t(i) * spread + spread / 2]);
            note.__set_title("Edited on the phone, round " + std::to_string(round));
            note.__set_content(noteContent(QStringLiteral("<div>Moved after the call.</div>"), dueDay(round % 5 + 1),
                                           round % 2 == 0, QStringLiteral("Round %1").arg(round)));
            note.__set_updated(now);
            store.alice.updateNote(note);
        }
    };
    // The content fetch and the update of a sent task carry its guid; nothing else does.
    const auto countLocal = [&](const QList<FakeRequest> &made) {
        localRequests += double(std::count_if(made.begin(), made.end(), [&](const FakeRequest &request) {
            return std::any_of(localGuids.begin(), localGuids.end(),
                               [&](const QByteArray &guid) { return request.body.contains(guid); });
        }));
    };
    incrementalRuns(state, change, countLocal);
    if (state.iterations() > 0)
        state.counters["requests_per_local_change"] = localRequests / double(state.iterations()) / changes;
}
BENCHMARK(BM_IncrementalSync200Changes50k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
