#include "core/platform/SingleInstance.h"
#include "app/Kelvara_AppDelegate.h"
#include "app/MainWindow.h"
#include "core/store/StoreStack.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs("Kelvara needs a graphical display, and neither DISPLAY nor WAYLAND_DISPLAY is set.\n"
                   "On a machine without a display, run it under a virtual one: xvfb-run -a make run\n",
                   stderr);
        return 2;
    }
    Q_INIT_RESOURCE(kelvara);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kelvara"));
    QApplication::setApplicationName(QStringLiteral("Kelvara"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kelvara"));
    QApplication::setApplicationVersion(QStringLiteral(KELVARA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(KELVARA_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(KELVARA_APP_ID), QIcon(QStringLiteral(":/images/kelvara.svg"))));
    // The one window closes only through the quit sequence, which ends the event loop itself.
    QApplication::setQuitOnLastWindowClosed(false);

    // A second launch brings the running window to the front instead of opening the store again.
    SingleInstance instance(QStringLiteral(KELVARA_APP_ID));
    if (instance.claim() == SingleInstance::Role::AlreadyRunning) {
        std::fputs("Kelvara is already running: its window was brought to the front.\n", stdout);
        return 0;
    }

    Kelvara_AppDelegate::initialize();
    Kelvara_AppDelegate delegate;
    // Without a session bus (or across sessions) the store's lock is what refuses a second
    // process; the user has been told why, and a window without its store would be no use.
    if (delegate.storeStack().inUseElsewhere())
        return 1;
    QObject::connect(&instance, &SingleInstance::activationRequested, &delegate, [&delegate] {
        MainWindow *window = delegate.window();
        if (window->isMinimized())
            window->showNormal();
        else
            window->show();
        window->raise();
        window->activateWindow();
    });
    QObject::connect(&delegate, &Kelvara_AppDelegate::terminationApproved, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    delegate.applicationDidFinishLaunching();
    return app.exec();
}
