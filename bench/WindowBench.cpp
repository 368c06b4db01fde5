// What a user waits for in the real window on a long-kept task list (LargeTaskStore::windowFolder):
// the delegate, the main window and its five views on the offscreen platform, with every event
// processed, layouts and paints included, before the clock stops. Every iteration is a fresh
// process (WindowLaunch), so what is measured is the cold path a user meets.
#include "bench/LargeTaskStore.h"
#include "bench/WindowLaunch.h"

#include <benchmark/benchmark.h>

namespace {
// Runs the scenario once per iteration; the iteration's time is the child's "time_ms", and every
// other figure becomes a counter averaged over the iterations (the largest for the peak memory).
void runScenario(benchmark::State &state, const QString &scenario)
{
    const QString folder = LargeTaskStore::windowFolder();
    QMap<QString, double> sums, peaks;
    for (auto _ : state) {
        const QMap<QString, double> figures = WindowLaunch::runInChild(scenario, folder);
        if (!figures.contains(QStringLiteral("time_ms"))) {
            state.SkipWithError("the child failed");
            return;
        }
        state.SetIterationTime(figures.value(QStringLiteral("time_ms")) / 1000.0);
        for (auto it = figures.cbegin(); it != figures.cend(); ++it) {
            sums[it.key()] += it.value();
            peaks[it.key()] = std::max(peaks.value(it.key()), it.value());
        }
    }
    for (auto it = sums.cbegin(); it != sums.cend(); ++it) {
        if (it.key() == QLatin1String("time_ms"))
            continue;
        const bool peak = it.key().endsWith(QLatin1String("_MB"));
        state.counters[it.key().toStdString()] = peak ? peaks.value(it.key()) : it.value() / double(state.iterations());
    }
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
