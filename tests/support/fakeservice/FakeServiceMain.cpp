// kelvara-fake-service: the tests' fake note service as a program, so that synchronisation can
// be tried in the real window without an account (`make fake-service`, see the README).

#include "content/CompletedContent.h"
#include "content/DueDateContent.h"
#include "content/TaskContent.h"
#include "core/Clock.h"
#include "tests/support/fakeservice/FakeService.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <optional>
#include <pthread.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Settings
{
    std::string user;
    std::string password;
    FakeService::Options service;
    int seedNotes = 0;
};

[[noreturn]] void refuse(const QString &message)
{
    std::fprintf(stderr, "kelvara-fake-service: %s\n", qPrintable(message));
    std::exit(2);
}

int numberOption(const QCommandLineParser &parser, const QString &name, int highest)
{
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < 0 || value > highest)
        refuse(QStringLiteral("--%1 takes a number from 0 to %2").arg(name).arg(highest));
    return value;
}

Settings settingsFrom(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The fake note service with one account, until interrupted."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("user"), QStringLiteral("The account's user name."), QStringLiteral("name"),
         QStringLiteral("demo")},
        {QStringLiteral("password"), QStringLiteral("The account's password."), QStringLiteral("password"),
         QStringLiteral("demo")},
        {QStringLiteral("port"), QStringLiteral("The port on 127.0.0.1; 0 takes a free one."), QStringLiteral("port"),
         QStringLiteral("0")},
        {QStringLiteral("seed-notes"), QStringLiteral("Tasks to put in the account, with a few notebooks and tags."),
         QStringLiteral("count"), QStringLiteral("0")},
    });
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        refuse(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));

    Settings settings;
    settings.user = parser.value(QStringLiteral("user")).toStdString();
    settings.password = parser.value(QStringLiteral("password")).toStdString();
    if (settings.user.empty() || settings.password.empty())
        refuse(QStringLiteral("the user name and the password cannot be empty"));
    settings.service.port = numberOption(parser, QStringLiteral("port"), 65535);
    // Beyond this the first synchronisation is a benchmark, not a demonstration.
    settings.seedNotes = numberOption(parser, QStringLiteral("seed-notes"), 10000);
    return settings;
}

QString required(std::optional<QString> content)
{
    if (!content)
        throw std::runtime_error("the content template cannot be read");
    return *content;
}

// Tasks in every state the views tell apart (overdue, due today, due tomorrow, undated,
// completed; with and without notes text and tags), written by the application's own content
// codecs so that they read back exactly as its tasks do.
void seed(FakeAccount &account, int count)
{
    if (count == 0)
        return;
    const std::vector<std::string> notebooks = {account.defaultNotebook().guid, account.addNotebook("Work").guid,
                                                account.addNotebook("Home").guid};
    const std::string errand = account.addTag("errand").guid;
    const std::string urgent = account.addTag("urgent").guid;
    const char *const titles[] = {"Pay the electricity bill", "Book the dentist", "Send the quarterly report",
                                  "Water the plants", "Call the plumber", "Renew the passport",
                                  "Prepare the team meeting"};
    constexpr int titleCount = int(std::size(titles));
    const QDateTime today = Clock::now().toTimeZone(Clock::timeZone());

    for (int i = 0; i < count; ++i) {
        QString content;
        if (i % 4 != 3)
            content = required(DueDateContent::setDueDate(today.addDays(i % 4 - 1), content));
        if (i % 5 == 4)
            content = required(CompletedContent::setCompletedInContent(content));
        if (i % 2 == 0)
            content = required(TaskContent::setTaskc(QStringLiteral("Seeded by kelvara-fake-service."), content));

        EDAMNote note;
        std::string title = titles[i % titleCount];
        if (i >= titleCount)
            title += " (" + std::to_string(i / titleCount + 1) + ")";
        note.__set_title(title);
        if (!content.isEmpty())
            note.__set_content(content.toStdString());
        note.__set_notebookGuid(notebooks[std::size_t(i) % notebooks.size()]);
        std::vector<std::string> tags;
        if (i % 3 == 0)
            tags.push_back(errand);
        if (i % 4 == 1)
            tags.push_back(urgent);
        if (!tags.empty())
            note.__set_tagGuids(tags);
        account.createNote(note);
    }
}

} // namespace

int main(int argc, char **argv)
{
    // Blocked before any thread starts, so that the server's threads inherit the mask and the
    // signals wait for sigwait below instead of ending the process midway through a reply.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvara-fake-service"));
    const Settings settings = settingsFrom(app);
    Q_INIT_RESOURCE(kelvara);

    try {
        FakeService service(settings.service);
        seed(service.addAccount(settings.user, settings.password), settings.seedNotes);
        std::printf("# The fake note service, with %d seeded task(s). Start Kelvara with:\n"
                    "KELVARA_USER_STORE_URL=%s\n"
                    "KELVARA_NOTE_STORE_BASE_URL=%s\n"
                    "# and sign in from the preferences with\n"
                    "#   user name: %s\n"
                    "#   password:  %s\n"
                    "# Ctrl-C stops the service; everything in it is forgotten.\n",
                    settings.seedNotes, qPrintable(service.userStoreUrl()), qPrintable(service.noteStoreBaseUrl()),
                    settings.user.c_str(), settings.password.c_str());
        // Whoever reads through a pipe needs the addresses now, not when the buffer fills.
        std::fflush(stdout);

        int signal = 0;
        sigwait(&stopSignals, &signal);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "kelvara-fake-service: %s\n", e.what());
        return 1;
    }
    return 0;
}
