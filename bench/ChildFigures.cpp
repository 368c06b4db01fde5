#include "bench/ChildFigures.h"

#include <QCoreApplication>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

void ChildFigures::report(const char *name, double value)
{
    std::printf("%s %.3f\n", name, value);
}

QMap<QString, double> ChildFigures::run(const QStringList &arguments, int timeoutMs)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.setStandardErrorFile(QProcess::nullDevice());
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(timeoutMs) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return {};
    QMap<QString, double> figures;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.trimmed().split(' ');
        if (parts.size() == 2)
            figures.insert(QString::fromLatin1(parts.at(0)), parts.at(1).toDouble());
    }
    return figures;
}

void ChildFigures::iterate(benchmark::State &state, const std::function<QMap<QString, double>()> &child,
                           const std::function<bool(const QString &name)> &largest)
{
    QMap<QString, double> sums, peaks;
    for (auto _ : state) {
        const QMap<QString, double> figures = child();
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
        if (it.key() != QLatin1String("time_ms"))
            state.counters[it.key().toStdString()] = largest(it.key()) ? peaks.value(it.key()) : it.value() / double(state.iterations());
    }
}
