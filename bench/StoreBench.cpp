// The store at the size of a long-kept personal task list: 50,000 tasks in 20 notebooks with
// 5 tags, due dates spread over thirty days either side of today.
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"
#include "core/store/PersistentStoreCoordinator.h"
#include "core/store/SqliteStatement.h"
#include "core/store/StoreStack.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {
constexpr int taskCount = 50'000;

const QString &storeFolder()
{
    static QTemporaryDir dir;
    static const QString folder = [] {
        const QString f = dir.filePath(QStringLiteral("Kelvara"));
        {
            StoreStack stack(f); // creates the schema and the first notebook
            stack.managedObjectContext();
            stack.saveAction();
        }
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(f + QStringLiteral("/storedata")).constData(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (int i = 2; i <= 20; ++i) {
            const QByteArray sql = QStringLiteral("INSERT INTO MyNotebook (Z_PK, name, hide, deleted, guid, needUpdate) "
                                                  "VALUES (%1, 'Notebook %1', %2, 0, '', 1)")
                                       .arg(i).arg(i == 20 ? 1 : 0).toUtf8();
            sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
        }
        const char *tags[] = {"home", "work", "errands", "Señal", "urgent"};
        for (int i = 0; i < 5; ++i) {
            const QByteArray sql = QStringLiteral("INSERT INTO MyTag (Z_PK, name, deleted, guid, needUpdate) VALUES (%1, '%2', 0, '', 1)")
                                       .arg(i + 1).arg(QString::fromUtf8(tags[i])).toUtf8();
            sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
        }
        const char *words[] = {"report", "call", "buy", "fix", "écrire", "plan", "review", "send"};
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        sqlite3_stmt *note = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO MyNote (Z_PK, title, content, dueDated, completed, active, toExpunged, deleted, color,"
                           " mysorter, created, updated, guid, updateSequenceNum, needUpdate, notebook_pk)"
                           " VALUES (?, ?, ?, ?, ?, 1, 0, 0, 0, ?, ?, ?, '', 0, 1, ?)",
                           -1, &note, nullptr);
        sqlite3_stmt *tag = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO MyNote_tags (owner_pk, member_pk) VALUES (?, ?)", -1, &tag, nullptr);
        for (int i = 1; i <= taskCount; ++i) {
            const QByteArray title = QStringLiteral("Task %1: %2 the %3 things").arg(i).arg(QString::fromUtf8(words[i % 8])).arg(i % 97).toUtf8();
            sqlite3_bind_int64(note, 1, i);
            sqlite3_bind_text(note, 2, title.constData(), int(title.size()), SQLITE_TRANSIENT);
            if (i % 3 == 0)
                sqlite3_bind_text(note, 3, "<en-note>a note body</en-note>", -1, SQLITE_STATIC);
            else
                sqlite3_bind_null(note, 3);
            if (i % 5 == 0)
                sqlite3_bind_null(note, 4);
            else
                sqlite3_bind_int64(note, 4, now + qint64((i % 61) - 30) * 86'400'000);
            sqlite3_bind_int(note, 5, i % 4 == 0);
            sqlite3_bind_int(note, 6, i);
            sqlite3_bind_int64(note, 7, now - i);
            sqlite3_bind_int64(note, 8, now - i);
            sqlite3_bind_int(note, 9, 1 + i % 20);
            sqlite3_step(note);
            sqlite3_reset(note);
            if (i % 2 == 0) {
                sqlite3_bind_int(tag, 1, i);
                sqlite3_bind_int(tag, 2, 1 + (i / 2) % 5);
                sqlite3_step(tag);
                sqlite3_reset(tag);
            }
        }
        sqlite3_finalize(note);
        sqlite3_finalize(tag);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return f;
    }();
    return folder;
}

QDateTime endOfToday()
{
    return QDateTime(QDate::currentDate(), QTime(23, 59, 59));
}

const QString badgeFormat = QStringLiteral("(active == 1) && (dueDated <= %@) && (completed == 0) && (notebook.hide == 0)");

double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

// One loaded store shared by the benchmarks that work on an open store.
StoreStack &openStore()
{
    static StoreStack stack(storeFolder());
    stack.managedObjectContext();
    return stack;
}
} // namespace

static void BM_StoreOpen50k(benchmark::State &state)
{
    storeFolder();
    const double before = residentMegabytes();
    double loaded = 0;
    for (auto _ : state) {
        StoreStack stack(storeFolder());
        ManagedObjectContext *context = stack.managedObjectContext();
        benchmark::DoNotOptimize(context);
        if (loaded == 0)
            loaded = residentMegabytes();
    }
    state.counters["rss_before_MB"] = before;
    state.counters["rss_loaded_MB"] = loaded;
    state.counters["rss_tasks_MB"] = loaded - before;
}
BENCHMARK(BM_StoreOpen50k)->Unit(benchmark::kMillisecond)->Iterations(10);

static void BM_BadgeCount50k(benchmark::State &state)
{
    ManagedObjectContext *context = openStore().managedObjectContext();
    int count = 0;
    for (auto _ : state) {
        count = context->count(QStringLiteral("MyNote"), Predicate::withFormat(badgeFormat, {endOfToday()}));
        benchmark::DoNotOptimize(count);
    }
    state.counters["count"] = count;
}
BENCHMARK(BM_BadgeCount50k)->Unit(benchmark::kMillisecond);

static void BM_SqlBadgeCount50k(benchmark::State &state)
{
    SqliteDatabase &db = openStore().persistentStoreCoordinator()->database();
    SqliteStatement *statement = db.prepare(QStringLiteral(
        "SELECT count(*) FROM MyNote n JOIN MyNotebook b ON b.Z_PK = n.notebook_pk"
        " WHERE n.active = 1 AND n.dueDated <= ? AND n.completed = 0 AND b.hide = 0"));
    qint64 count = 0;
    for (auto _ : state) {
        statement->reset();
        statement->bind(1, qlonglong(endOfToday().toMSecsSinceEpoch()));
        statement->next();
        count = statement->integer(0);
        benchmark::DoNotOptimize(count);
    }
    statement->reset();
    state.counters["count"] = double(count);
}
BENCHMARK(BM_SqlBadgeCount50k)->Unit(benchmark::kMillisecond);

static void BM_Search50k(benchmark::State &state)
{
    ManagedObjectContext *context = openStore().managedObjectContext();
    const QString format = QStringLiteral("((title contains[cd] %@) OR (ANY tags.name contains[cd] %@)) AND (active == 1)");
    const QString text = QStringLiteral("ECRIRE");
    qsizetype found = 0;
    for (auto _ : state) {
        found = context->fetch(QStringLiteral("MyNote"), Predicate::withFormat(format, {text, text})).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = double(found);
}
BENCHMARK(BM_Search50k)->Unit(benchmark::kMillisecond);

static void BM_SaveOneEdit50k(benchmark::State &state)
{
    StoreStack &stack = openStore();
    ManagedObjectContext *context = stack.managedObjectContext();
    auto *task = static_cast<MyNote *>(context->fetch(QStringLiteral("MyNote")).value(25'000));
    int n = 0;
    AppError error;
    for (auto _ : state) {
        task->setTitle(QStringLiteral("Edited %1").arg(++n));
        if (!context->save(&error))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveOneEdit50k)->Unit(benchmark::kMillisecond);
