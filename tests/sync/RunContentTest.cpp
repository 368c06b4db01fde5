#include "tests/sync/ServiceTest.h"

#include "content/CompletedContent.h"
#include "content/TypesConversor.h"
#include "service/EDAMSystemException.h"
#include "service/TTransportException.h"
#include "sync/EvernoteSync.h"
#include "sync/SyncFailureMessage.h"

namespace {

const std::string Kept = "<div>Bought at the market</div>";
const std::string ServiceContent = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                   "<!DOCTYPE en-note SYSTEM \"http://xml.evernote.com/pub/enml2.dtd\">\n"
                                   "<en-note>" + Kept + "</en-note>";

std::exception_ptr rateLimited(std::optional<int32_t> seconds)
{
    EDAMSystemException limit(19, "rate limit reached");
    if (seconds)
        limit.__set_rateLimitDuration(*seconds);
    return std::make_exception_ptr(limit);
}

using RunContentTest = ServiceTest;

} // namespace

// Changed tasks go out over one authentication, each with its note's content fetched and kept
// around the completion. The service's rate limit met while fetching a content ends the run
// there, rather than sending an update built on no content, which would replace what the note
// holds; the user is told how long the service wants Kelvara to wait.
TEST_F(RunContentTest, UpdatesKeepTheNotesContentAndARateLimitStopsOneBeforeItIsSent)
{
    std::vector<TypesConversor::Task> tasks;
    for (int i = 0; i < 4; ++i) {
        const EDAMNote note = alice.addNote("Task " + std::to_string(i), ServiceContent);
        TypesConversor::Task task;
        task.guid = QString::fromStdString(note.guid);
        task.title = QString::fromStdString(note.title);
        task.updated = note.updated + 1000;
        task.completed = true;
        task.notebookGuid = QString::fromStdString(note.notebookGuid);
        tasks.push_back(task);
    }
    service.clearRequests();
    std::unique_ptr<EvernoteSync> sync = EvernoteSync::init();
    ASSERT_TRUE(sync);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(sync->updateNote(TypesConversor::noteWithGuid(tasks[i], sync->contentFetch())));
    EXPECT_EQ(service.callCount("authenticate"), 1);
    EXPECT_EQ(service.callCount("updateNote"), 3);
    EXPECT_EQ(service.requests().size(), 2 + 2 * 3); // checkVersion, then a content fetch per update
    for (int i = 0; i < 3; ++i) {
        const QString content = QString::fromStdString(alice.notes()[i].content);
        EXPECT_TRUE(CompletedContent::completed(content)) << i;
        EXPECT_TRUE(content.contains(QString::fromStdString(Kept))) << i;
    }

    service.inject("getNoteContent", FakeFault::rateLimit(300));
    std::exception_ptr failure;
    try {
        sync->updateNote(TypesConversor::noteWithGuid(tasks[3], sync->contentFetch()));
    } catch (...) {
        failure = std::current_exception();
    }
    ASSERT_TRUE(failure);
    EXPECT_EQ(service.callCount("updateNote"), 3);
    EXPECT_EQ(alice.notes()[3].content, ServiceContent);
    EXPECT_EQ(SyncFailureMessage::forException(failure),
              QStringLiteral("The service asks Kelvara to wait 5 minutes before syncing again."));
}

TEST_F(RunContentTest, AFailedRunSaysWhyAndHowLongTheServiceWantsKelvaraToWait)
{
    // A wait rounds up to whole minutes from a minute on; a wait not given is "a while".
    const std::vector<std::pair<std::optional<int32_t>, const char *>> waits = {
        {61, "2 minutes"}, {60, "1 minute"}, {59, "59 seconds"}, {1, "1 second"}};
    for (const auto &[seconds, wait] : waits) {
        EXPECT_EQ(SyncFailureMessage::forException(rateLimited(seconds)),
                  Localized::format(QStringLiteral("SYNC_RATE_LIMIT"), {QString::fromLatin1(wait)}));
    }
    EXPECT_EQ(SyncFailureMessage::forException(rateLimited(std::nullopt)), text("SYNC_RATE_LIMIT_SOON"));
    EXPECT_EQ(SyncFailureMessage::forException(std::make_exception_ptr(EDAMSystemException(1, "Internal error"))),
              text("SYNC_FAILED"));
    EXPECT_EQ(SyncFailureMessage::forException(
                  std::make_exception_ptr(TTransportException(QStringLiteral("Bad response from HTTP server: 503")))),
              Localized::format(QStringLiteral("SYNC_UNREACHABLE"), {QStringLiteral("Bad response from HTTP server: 503")}));
    Localized::setLanguage(QStringLiteral("es"));
    EXPECT_EQ(SyncFailureMessage::forException(rateLimited(90)),
              QStringLiteral("El servicio pide a Kelvara que espere 2 minutos antes de volver a sincronizar."));
}
