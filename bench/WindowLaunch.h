#pragma once

#include <QMap>
#include <QString>

#include <memory>

class Kelvara_AppDelegate;

// The real application window for the benchmarks. Each measurement runs in a fresh child
// process, as a user's launch does: nothing of an earlier run (fonts, images, caches of the
// store) is warm. The child launches the window on a store folder as main() does, runs one
// scenario and prints what it measured, one "name value" line each.
class WindowLaunch
{
public:
    // The argument that makes the benchmark executable such a child; the scenario and the
    // store folder follow.
    static constexpr const char *childArgument = "--window-child";

    // Runs `scenario` in a child on `folder`; its figures by name, empty when the child failed.
    static QMap<QString, double> runInChild(const QString &scenario, const QString &folder);
    // The child's side; returns its exit code.
    static int runChild(const QString &scenario, const QString &folder);

    // The settings a launch must not depend on: no saved frame or notebook, and no launch panel
    // (it waits on the user once the window is up).
    static void prepareSettings();
    // Creates the delegate on `folder`, launches and waits until the window is shown and painted.
    static std::unique_ptr<Kelvara_AppDelegate> launch(const QString &folder);
    // Processes events until none is left: posted events, zero timers, layouts and paints.
    static void settle();

    WindowLaunch() = delete;
};
