#include "bench/WindowLaunch.h"

#include "bench/ChildFigures.h"

#include "bench/ProcessStatus.h"

#include "core/Defaults.h"
#include "core/SettingsKeys.h"
#include "app/Kelvara_AppDelegate.h"
#include "app/MainWindow.h"
#include "ui/ArrayController.h"
#include "ui/GlobalSearchController.h"
#include "ui/NotesViewController.h"
#include "ui_GlobalSearch.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// From creating the delegate to the window shown and painted, and the peak memory before and after.
int launchScenario(const QString &folder)
{
    const double before = ProcessStatus::megabytes("VmHWM");
    const Clock::time_point start = Clock::now();
    auto delegate = WindowLaunch::launch(folder);
    ChildFigures::report("time_ms", msSince(start));
    ChildFigures::report("qt_only_MB", before);
    ChildFigures::report("peak_MB", ProcessStatus::megabytes("VmHWM"));
    return delegate->window()->isVisible() ? 0 : 1;
}

// Each view chosen in the switcher once, in the switcher's order from Today, the frame animation
// jumped to its end.
int switchScenario(const QString &folder)
{
    static const struct
    {
        int view;
        const char *name;
    } order[] = {{Kelvara_AppDelegate::TodayView, "today_ms"},
                 {Kelvara_AppDelegate::NotebooksView, "notebooks_ms"},
                 {Kelvara_AppDelegate::TagsView, "tags_ms"},
                 {Kelvara_AppDelegate::TrashView, "trash_ms"},
                 {Kelvara_AppDelegate::TasksView, "tasks_ms"}};
    auto delegate = WindowLaunch::launch(folder);
    double total = 0;
    for (const auto &step : order) {
        const Clock::time_point start = Clock::now();
        delegate->window()->switcherItem(step.view)->trigger();
        delegate->window()->finishFrameAnimation();
        WindowLaunch::settle();
        const double took = msSince(start);
        if (delegate->selectedViewController() != step.view)
            return 1;
        ChildFigures::report(step.name, took);
        total += took;
    }
    ChildFigures::report("time_ms", total);
    ChildFigures::report("peak_MB", ProcessStatus::megabytes("VmHWM"));
    return 0;
}

// The first letter typed into the global search once its window is up.
int searchScenario(const QString &folder)
{
    auto delegate = WindowLaunch::launch(folder);
    bool typed = false;
    QTimer::singleShot(0, [&] {
        auto *search = qobject_cast<GlobalSearchController *>(QApplication::activeModalWidget());
        if (!search)
            return;
        WindowLaunch::settle();
        ChildFigures::report("listed_before", search->taskList()->count());
        const double cpuStart = threadCpuMs();
        const Clock::time_point start = Clock::now();
        QTest::keyClick(search->ui().searchField, Qt::Key_R);
        WindowLaunch::settle();
        ChildFigures::report("time_ms", msSince(start));
        ChildFigures::report("cpu_ms", threadCpuMs() - cpuStart);
        ChildFigures::report("listed", search->taskList()->count());
        typed = true;
        search->dismissWindow();
    });
    delegate->notesViewController()->launchGlobalSearch();
    WindowLaunch::settle();
    return typed ? 0 : 1;
}
} // namespace

QMap<QString, double> WindowLaunch::runInChild(const QString &scenario, const QString &folder)
{
    return ChildFigures::run({QLatin1String(childArgument), scenario, folder}, 120'000);
}

int WindowLaunch::runChild(const QString &scenario, const QString &folder)
{
    prepareSettings();
    if (scenario == QLatin1String("launch"))
        return launchScenario(folder);
    if (scenario == QLatin1String("switch"))
        return switchScenario(folder);
    if (scenario == QLatin1String("search"))
        return searchScenario(folder);
    return 2;
}

void WindowLaunch::prepareSettings()
{
    Defaults &defaults = Defaults::standardUserDefaults();
    defaults.removeObjectForKey(Key::MainWindowFrame);
    defaults.removeObjectForKey(Key::lastUsedNotebook);
    defaults.setBool(Key::showTasksStatusPanel, false);
}

std::unique_ptr<Kelvara_AppDelegate> WindowLaunch::launch(const QString &folder)
{
    auto delegate = std::make_unique<Kelvara_AppDelegate>(folder);
    delegate->applicationDidFinishLaunching();
    settle();
    return delegate;
}

void WindowLaunch::settle()
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    // A running animation would keep the loop busy for its whole length; a few hundred rounds
    // are far more than any chain of posted work needs.
    for (int round = 0; round < 500; ++round) {
        QCoreApplication::sendPostedEvents();
        if (!dispatcher->processEvents(QEventLoop::AllEvents))
            break;
    }
}
