#include "core/platform/SingleInstance.h"

#include <QDBusConnection>

#include <unistd.h>

#include <gtest/gtest.h>

// Two launches are two connections to the session bus (the test run's private one).
TEST(SingleInstanceTest, ALaterLaunchBringsTheFirstToTheFrontAndIsToldToExit)
{
    // A name of this test process's own: test cases run in parallel on one bus.
    const QString id = QStringLiteral("org.kelvara.Kelvara.Test%1").arg(getpid());
    QDBusConnection firstBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("first"));
    QDBusConnection laterBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("later"));
    ASSERT_TRUE(firstBus.isConnected() && laterBus.isConnected()) << "the tests run with a session bus";
    {
        SingleInstance first(id, firstBus);
        int activations = 0;
        QObject::connect(&first, &SingleInstance::activationRequested, &first, [&] { ++activations; });
        ASSERT_EQ(first.claim(), SingleInstance::Role::First);
        {
            SingleInstance later(id, laterBus);
            EXPECT_EQ(later.claim(), SingleInstance::Role::AlreadyRunning);
            EXPECT_EQ(activations, 1) << "the running one was asked to come to the front";
        }
    }
    // The first one has quit: the next launch is the first.
    SingleInstance next(id, laterBus);
    EXPECT_EQ(next.claim(), SingleInstance::Role::First);
    QDBusConnection::disconnectFromBus(QStringLiteral("first"));
    QDBusConnection::disconnectFromBus(QStringLiteral("later"));
}
