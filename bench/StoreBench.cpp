// The store at the size of a long-kept personal task list (LargeTaskStore).
#include "bench/LargeTaskStore.h"
#include "bench/ProcessStatus.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"
#include "core/store/PersistentStoreCoordinator.h"
#include "core/store/SqliteStatement.h"
#include "core/store/StoreStack.h"

#include <QDateTime>

#include <benchmark/benchmark.h>

namespace {
QDateTime endOfToday()
{
    return QDateTime(QDate::currentDate(), QTime(23, 59, 59));
}

const QString badgeFormat = QStringLiteral("(active == 1) && (dueDated <= %@) && (completed == 0) && (notebook.hide == 0)");
} // namespace

static void BM_StoreOpen50k(benchmark::State &state)
{
    LargeTaskStore::folder();
    const double before = ProcessStatus::megabytes("VmRSS");
    double loaded = 0;
    for (auto _ : state) {
        StoreStack stack(LargeTaskStore::folder());
        ManagedObjectContext *context = stack.managedObjectContext();
        benchmark::DoNotOptimize(context);
        if (loaded == 0)
            loaded = ProcessStatus::megabytes("VmRSS");
    }
    state.counters["rss_before_MB"] = before;
    state.counters["rss_loaded_MB"] = loaded;
    state.counters["rss_tasks_MB"] = loaded - before;
}
BENCHMARK(BM_StoreOpen50k)->Unit(benchmark::kMillisecond)->Iterations(10);

static void BM_BadgeCount50k(benchmark::State &state)
{
    ManagedObjectContext *context = LargeTaskStore::stack().managedObjectContext();
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
    SqliteDatabase &db = LargeTaskStore::stack().persistentStoreCoordinator()->database();
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
    ManagedObjectContext *context = LargeTaskStore::stack().managedObjectContext();
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
    StoreStack &stack = LargeTaskStore::stack();
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
