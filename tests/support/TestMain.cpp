#include "core/Defaults.h"
#include "core/SettingsKeys.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef KELVARA_TEST_GUI
#include "tests/support/ModalDialogGuard.h"

#include <QApplication>
using Application = QApplication;
#else
#include <QCoreApplication>
using Application = QCoreApplication;
#endif

int main(int argc, char **argv)
{
#ifdef KELVARA_TEST_GUI
    // Test discovery runs outside the test script's environment.
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    // CTest runs test cases in parallel processes: each gets its own settings and data folders.
    QTemporaryDir sandbox;
    if (!sandbox.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(sandbox.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(sandbox.filePath(QStringLiteral("data"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(sandbox.filePath(QStringLiteral("cache"))));
    Q_INIT_RESOURCE(kelvara);
    Application app(argc, argv);
    Application::setOrganizationName(QStringLiteral("Kelvara"));
    Application::setApplicationName(QStringLiteral("Kelvara"));
#ifdef KELVARA_TEST_GUI
    ModalDialogGuard guard;
    app.installEventFilter(&guard);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
