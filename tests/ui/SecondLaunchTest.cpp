#include "tests/support/DiesWithParent.h"
#include "tests/support/WaitUntil.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The application itself, started twice in the test run's private session bus.
TEST(SecondLaunchTest, ASecondLaunchExitsAndLeavesTheFirstRunning)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected()) << "the tests run with a session bus";
    const QString name = QStringLiteral("org.kelvara.Kelvara");
    ASSERT_FALSE(bus.interface()->isServiceRegistered(name).value()) << "no Kelvara runs in the test session";

    // Fresh folders of its own, and no launch panel waiting for an answer.
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral("config/Kelvara"));
    QFile settings(home.filePath(QStringLiteral("config/Kelvara/Kelvara.conf")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly) && settings.write("[General]\nshowTasksStatusPanel=false\nShowDockTile=false\n") > 0);
    settings.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    QProcess first, second;
    for (QProcess *launch : {&first, &second}) {
        diesWithParent(*launch);
        launch->setProcessEnvironment(env);
    }

    first.start(QStringLiteral(KELVARA_APP_BINARY), {});
    EXPECT_TRUE(waitUntil([&] { return bus.interface()->isServiceRegistered(name).value(); }, 10000));

    second.start(QStringLiteral(KELVARA_APP_BINARY), {});
    ASSERT_TRUE(second.waitForFinished(10000)) << "the second launch stays on the same store";
    EXPECT_TRUE(second.exitStatus() == QProcess::NormalExit && second.exitCode() == 0);
    EXPECT_EQ(first.state(), QProcess::Running) << "the first one goes on";
    first.kill();
    first.waitForFinished();
}
