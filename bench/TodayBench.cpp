// What launching and the Today view cost on a long-kept task list (LargeTaskStore).
#include "bench/LargeTaskStore.h"
#include "core/store/TaskCounts.h"
#include "core/store/StoreStack.h"
#include "ui/MyTodayNotesArrayController.h"
#include "ui/TodayViewController.h"

#include <QWidget>

#include <benchmark/benchmark.h>

// The launch panel's two counts, the quit panel's third and the launcher badge.
static void BM_LaunchCounts50k(benchmark::State &state)
{
    const ManagedObjectContext *context = LargeTaskStore::stack().managedObjectContext();
    TaskCounts::Counts counts;
    for (auto _ : state) {
        counts = TaskCounts::dueCounts(context);
        benchmark::DoNotOptimize(counts);
    }
    state.counters["today"] = counts.today;
    state.counters["overdue"] = counts.overdue;
    state.counters["tomorrow"] = counts.tomorrow;
    state.counters["badge"] = counts.dockBadge;
}
BENCHMARK(BM_LaunchCounts50k)->Unit(benchmark::kMillisecond);

// The day selector clicked through overdue, today, tomorrow and later.
static void BM_TodayRanges50k(benchmark::State &state)
{
    TodayViewController view(LargeTaskStore::stack().managedObjectContext());
    int listed[4] = {};
    for (auto _ : state) {
        for (int range = TodayViewController::Overdue; range <= TodayViewController::Later; ++range) {
            view.changeMainPredicate(range);
            listed[range] = view.numberOfTasksInArray();
        }
    }
    state.counters["overdue"] = listed[0];
    state.counters["today"] = listed[1];
    state.counters["tomorrow"] = listed[2];
    state.counters["later"] = listed[3];
}
BENCHMARK(BM_TodayRanges50k)->Unit(benchmark::kMillisecond);
