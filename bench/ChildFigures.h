#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

namespace benchmark {
class State;
}

// Benchmarks whose every iteration is a fresh process of this executable (a cold launch, a peak
// memory that only grows): the child prints its figures as "name value" lines, the parent reads
// them back and turns them into the iteration's time ("time_ms") and counters.
class ChildFigures
{
public:
    // The child's side.
    static void report(const char *name, double value);
    // Runs this executable with `arguments`; the figures it printed, none when it failed.
    static QMap<QString, double> run(const QStringList &arguments, int timeoutMs);
    // One child per iteration; every figure but the time becomes a counter, averaged over the
    // iterations, or the largest of them where `largest` says so (peaks).
    static void iterate(benchmark::State &state, const std::function<QMap<QString, double>()> &child,
                        const std::function<bool(const QString &name)> &largest);

    ChildFigures() = delete;
};
