#include "service/EDAMUserException.h"
#include "tests/service/TestClients.h"
#include "tests/support/DiesWithParent.h"
#include "tests/support/WaitUntil.h"

#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// kelvara-fake-service run as someone would run it, read through its printed lines.
class Program
{
public:
    explicit Program(const QStringList &arguments)
    {
        diesWithParent(m_process);
        m_process.start(QStringLiteral(KELVARA_FAKE_SERVICE_BINARY), arguments);
    }
    ~Program()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    // The value the program printed for a variable, once both addresses are out.
    QString variable(const QString &name)
    {
        waitUntil([this] {
            m_output += m_process.readAllStandardOutput();
            return m_output.contains("KELVARA_NOTE_STORE_BASE_URL=") && m_output.endsWith('\n');
        }, 10000);
        const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(name), QRegularExpression::MultilineOption);
        return line.match(QString::fromUtf8(m_output)).captured(1);
    }

    // SIGTERM, as `kill` or a session ending sends it; the exit code, or -1 for a crash or a hang.
    int stop()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(10000) || m_process.exitStatus() != QProcess::NormalExit)
            return -1;
        return m_process.exitCode();
    }

    QProcess &process() { return m_process; }

private:
    QProcess m_process;
    QByteArray m_output;
};

} // namespace

// What the README promises: the printed addresses and credentials reach the seeded account with
// the application's own clients, a port in use is said rather than hung on (so a fixed port can
// keep the variables set across restarts), and SIGTERM stops the service cleanly.
TEST(FakeServiceProgram, ServesThePrintedAccountOnTheGivenPortUntilTerminated)
{
    Program program({QStringLiteral("--user"), QStringLiteral("tester"), QStringLiteral("--password"),
                     QStringLiteral("pa55 word"), QStringLiteral("--seed-notes"), QStringLiteral("9")});
    const QString userStoreUrl = program.variable(QStringLiteral("KELVARA_USER_STORE_URL"));
    const QString noteStoreBaseUrl = program.variable(QStringLiteral("KELVARA_NOTE_STORE_BASE_URL"));
    ASSERT_FALSE(userStoreUrl.isEmpty() || noteStoreBaseUrl.isEmpty())
        << program.process().readAllStandardError().toStdString();

    EXPECT_TRUE(TestClients::userStore(userStoreUrl).checkVersion("Kelvara", 1, 15));
    EXPECT_THROW(TestClients::userStore(userStoreUrl).authenticate("tester", "demo", "k", "s"), EDAMUserException);
    const EDAMAuthenticationResult signedIn =
        TestClients::userStore(userStoreUrl).authenticate("tester", "pa55 word", "k", "s");
    const EDAMSyncChunk chunk = TestClients::noteStore(noteStoreBaseUrl + QString::fromStdString(signedIn.user.shardId))
                                    .getSyncChunk(signedIn.authenticationToken, 0, 100, false);
    EXPECT_EQ(chunk.notes.size(), 9u);
    EXPECT_EQ(chunk.notebooks.size(), 3u);
    EXPECT_EQ(chunk.tags.size(), 2u);

    Program taken({QStringLiteral("--port"), QString::number(QUrl(userStoreUrl).port())});
    ASSERT_TRUE(taken.process().waitForFinished(10000));
    EXPECT_NE(taken.process().exitCode(), 0);
    EXPECT_FALSE(taken.process().readAllStandardError().isEmpty());

    EXPECT_EQ(program.stop(), 0);
}
