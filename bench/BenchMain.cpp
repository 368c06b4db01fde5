#include "bench/SyncBench.h"
#include "bench/WindowLaunch.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

int main(int argc, char **argv)
{
    // Cards are painted off screen; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The benchmarks change settings; the user's own are never touched. A launching child
    // shares its parent's folder.
    std::unique_ptr<QTemporaryDir> settings;
    const bool child = argc == 4 && std::strcmp(argv[1], WindowLaunch::childArgument) == 0;
    // A first synchronisation starts from settings of its own.
    const bool syncChild = argc == 2 && std::strcmp(argv[1], FirstSyncChild::childArgument) == 0;
    if (!child) {
        settings = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings->path()));
    }
    Q_INIT_RESOURCE(kelvara);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kelvara"));
    QApplication::setApplicationName(QStringLiteral("Kelvara"));
    if (child)
        return WindowLaunch::runChild(QString::fromLatin1(argv[2]), QFile::decodeName(argv[3]));
    if (syncChild)
        return FirstSyncChild::run();

    ::benchmark::Initialize(&argc, argv);
    if (::benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();
    return 0;
}
