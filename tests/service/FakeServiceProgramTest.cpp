#include "service/EDAMUserException.h"
#include "tests/service/TestClients.h"
#include "tests/support/DiesWithParent.h"
#include "tests/support/WaitUntil.h"

#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>

// What the README promises: the printed addresses and credentials reach the seeded account with
// the application's own clients, a port in use is said rather than hung on (so a fixed port can
// keep the variables set across restarts), and SIGTERM, as `kill` or a session ending sends it,
// stops the service cleanly.
TEST(FakeServiceProgram, ServesThePrintedAccountOnTheGivenPortUntilTerminated)
{
    QProcess program;
    diesWithParent(program);
    program.start(QStringLiteral(KELVARA_FAKE_SERVICE_BINARY), {QStringLiteral("--user"), QStringLiteral("tester"), QStringLiteral("--password"),
                                                               QStringLiteral("pa55 word"), QStringLiteral("--seed-notes"), QStringLiteral("9")});
    QByteArray output;
    ASSERT_TRUE(waitUntil([&] {
        output += program.readAllStandardOutput();
        return output.contains("KELVARA_NOTE_STORE_BASE_URL=") && output.endsWith('\n');
    }, 10000)) << program.readAllStandardError().toStdString();
    const auto variable = [&](const char *name) {
        return QRegularExpression(QStringLiteral("^%1=(.*)$").arg(QLatin1String(name)), QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(output)).captured(1);
    };
    const QString userStoreUrl = variable("KELVARA_USER_STORE_URL");

    EXPECT_TRUE(TestClients::userStore(userStoreUrl).checkVersion("Kelvara", 1, 15));
    EXPECT_THROW(TestClients::userStore(userStoreUrl).authenticate("tester", "demo", "k", "s"), EDAMUserException);
    const EDAMAuthenticationResult signedIn = TestClients::userStore(userStoreUrl).authenticate("tester", "pa55 word", "k", "s");
    const EDAMSyncChunk chunk = TestClients::noteStore(variable("KELVARA_NOTE_STORE_BASE_URL") + QString::fromStdString(signedIn.user.shardId))
                                    .getSyncChunk(signedIn.authenticationToken, 0, 100, false);
    EXPECT_EQ(chunk.notes.size(), 9u);
    EXPECT_EQ(chunk.notebooks.size(), 3u);
    EXPECT_EQ(chunk.tags.size(), 2u);

    QProcess taken;
    diesWithParent(taken);
    taken.start(QStringLiteral(KELVARA_FAKE_SERVICE_BINARY), {QStringLiteral("--port"), QString::number(QUrl(userStoreUrl).port())});
    ASSERT_TRUE(taken.waitForFinished(10000));
    EXPECT_NE(taken.exitCode(), 0);
    EXPECT_FALSE(taken.readAllStandardError().isEmpty());

    program.terminate();
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}
