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

class RunContentTest : public ServiceTest
{
protected:
    // A task of a note on the service, completed here since it was last sent.
    TypesConversor::Task completedTask(const std::string &title)
    {
        const EDAMNote note = alice.addNote(title, ServiceContent);
        TypesConversor::Task task;
        task.guid = QString::fromStdString(note.guid);
        task.title = QString::fromStdString(title);
        task.updated = note.updated + 1000;
        task.completed = true;
        task.notebookGuid = QString::fromStdString(note.notebookGuid);
        return task;
    }

    static std::exception_ptr rateLimited(std::optional<int32_t> seconds)
    {
        EDAMSystemException limit(19, "rate limit reached");
        if (seconds)
            limit.__set_rateLimitDuration(*seconds);
        return std::make_exception_ptr(limit);
    }
};

} // namespace

TEST_F(RunContentTest, UpdatingChangedTasksTakesOneAuthenticationAndTwoRequestsPerTask)
{
    std::vector<TypesConversor::Task> tasks;
    for (int i = 0; i < 5; ++i)
        tasks.push_back(completedTask("Task " + std::to_string(i)));
    service.clearRequests();

    std::unique_ptr<EvernoteSync> sync = EvernoteSync::init();
    ASSERT_TRUE(sync);
    for (const TypesConversor::Task &task : tasks)
        ASSERT_TRUE(sync->updateNote(TypesConversor::noteWithGuid(task, sync->contentFetch())));

    EXPECT_EQ(service.callCount("checkVersion"), 1);
    EXPECT_EQ(service.callCount("authenticate"), 1);
    EXPECT_EQ(service.callCount("getNoteContent"), 5);
    EXPECT_EQ(service.callCount("updateNote"), 5);
    EXPECT_EQ(service.requests().size(), 2 + 2 * 5);
    for (const EDAMNote &note : alice.notes()) {
        const QString content = QString::fromStdString(note.content);
        EXPECT_TRUE(CompletedContent::completed(content)) << note.content;
        EXPECT_TRUE(content.contains(QString::fromStdString(Kept))) << note.content;
    }
}

// The service's rate limit met while fetching a task's content ends the run there, rather than
// sending an update built on no content, which would replace what the note holds; the user is
// told how long the service wants Kelvara to wait.
TEST_F(RunContentTest, ARateLimitEndsTheRunBeforeTheUpdateAndTellsTheUserHowLongToWait)
{
    const TypesConversor::Task task = completedTask("Call Ann");
    std::unique_ptr<EvernoteSync> sync = EvernoteSync::init();
    ASSERT_TRUE(sync);
    service.inject("getNoteContent", FakeFault::rateLimit(300));
    std::exception_ptr failure;
    try {
        sync->updateNote(TypesConversor::noteWithGuid(task, sync->contentFetch()));
    } catch (...) {
        failure = std::current_exception();
    }
    ASSERT_TRUE(failure);
    EXPECT_EQ(service.callCount("updateNote"), 0);
    EXPECT_EQ(alice.notes().front().content, ServiceContent);
    EXPECT_EQ(SyncFailureMessage::forException(failure),
              QStringLiteral("The service asks Kelvara to wait 5 minutes before syncing again."));

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
