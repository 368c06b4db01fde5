// What a user waits for in the real window on a long-kept task list (LargeTaskStore::windowFolder):
// the delegate, the main window and its five views on the offscreen platform, with every event
// processed, layouts and paints included, before the clock stops. Every iteration is a fresh
// process (WindowLaunch), so what is measured is the cold path a user meets.
#include "bench/ChildFigures.h"
#include "bench/LargeTaskStore.h"
#include "bench/WindowLaunch.h"

#include <benchmark/benchmark.h>

namespace {
// Runs the scenario once per iteration, in a fresh process; the peak memory is the largest.
void runScenario(benchmark::State &state, const QString &scenario)
{
    const QString folder = LargeTaskStore::windowFolder();
    ChildFigures::iterate(state, [&] { return WindowLaunch::runInChild(scenario, folder); },
                          [](const QString &name) { return name.endsWith(QLatin1String("_MB")); });
}
} // namespace

// From creating the delegate on the store to the window shown, laid out and painted; the peak
// memory of the process then, and that of Qt alone before the delegate.
static void BM_LaunchToWindow50k(benchmark::State &state)
{
    runScenario(state, QStringLiteral("launch"));
}
BENCHMARK(BM_LaunchToWindow50k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(8);

// Each view chosen in the switcher once, on a window just launched, the frame animation jumped
// to its end: the time of the five switches, and each view's as a counter (ms).
static void BM_SwitchEveryView50k(benchmark::State &state)
{
    runScenario(state, QStringLiteral("switch"));
}
BENCHMARK(BM_SwitchEveryView50k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(6);

// The first letter ("r") typed into the global search once its window is up, on a window just
// launched: nothing of the search is warm yet.
static void BM_FirstSearchKeystroke50k(benchmark::State &state)
{
    runScenario(state, QStringLiteral("search"));
}
BENCHMARK(BM_FirstSearchKeystroke50k)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(8);
