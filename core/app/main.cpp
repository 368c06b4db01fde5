#include "core/Defaults.h"
#include "core/SettingsKeys.h"
#include "core/app/MainWindow.h"

#include <QApplication>

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
    QApplication::setDesktopFileName(QStringLiteral("kelvara"));
    Defaults::standardUserDefaults().registerDefaults(SettingsKeys::registeredDefaults());

    MainWindow window;
    window.show();
    return app.exec();
}
