#include "tests/sync/ServiceTest.h"

#include "service/EDAMNotFoundException.h"
#include "service/EDAMSystemException.h"
#include "service/EDAMUserException.h"
#include "service/TException.h"
#include "sync/ENServerActions.h"
#include "sync/EvernoteSync.h"

#include <functional>

namespace {

// What an operation answered: "none", "value", an update sequence number, or the kind of
// exception that reached the caller, with the exception's text.
struct Outcome
{
    std::string result;
    QString thrown;
};

std::string shown(int32_t number) { return std::to_string(number); }
template <typename T>
std::string shown(const std::optional<T> &value)
{
    return value ? "value" : "none";
}

template <typename Call>
Outcome outcomeOf(const Call &call)
{
    const auto thrown = [](const QString &name, const QString &text) { return Outcome{"throws " + name.toStdString(), text}; };
    try {
        return {shown(call()), {}};
    } catch (const TException &e) {
        return thrown(e.name(), e.description());
    } catch (const EDAMUserException &e) {
        return thrown(e.name(), e.description());
    } catch (const EDAMSystemException &e) {
        return thrown(e.name(), e.description());
    } catch (const EDAMNotFoundException &e) {
        return thrown(e.name(), e.description());
    }
}

// One operation in both forms: through the run's EvernoteSync and through ENServerActions.
#define BOTH(operation)                                                                      \
    [=, this](EvernoteSync &sync) { return outcomeOf([&] { return sync.operation; }); },     \
        [=, this] { return outcomeOf([&] { return ENServerActions::operation; }); }

class ServerActionsTest : public ServiceTest
{
protected:
    struct Row
    {
        std::vector<std::pair<const char *, FakeFault>> faults;
        std::function<Outcome(EvernoteSync &)> run;
        std::function<Outcome()> serverActions;
        std::string result;
        bool pane;
        QStringList runLog;
        std::optional<QStringList> serverActionsLog{}; // the run's lines when unset
    };

    // Objects as the conversion sends them, with no timestamps, so that a fault that repeats a
    // request holds text only (see SecretsNeverReachALogLineAPaneOrAnException).
    ServerActionsTest()
    {
        work.__set_guid(alice.addNotebook("Work").guid);
        work.__set_name("Work");
        errands.__set_guid(alice.addTag("Errands").guid);
        errands.__set_name("Errands");
        milk.__set_guid(alice.addNote("Buy milk").guid);
        milk.__set_title("Buy milk");
        callAnn.__set_title("Call Ann");
        home.__set_name("Home");
        chores.__set_name("Chores");
    }

    std::vector<Row> failureTable()
    {
        const QString refusal = QStringLiteral("EDAMUserException(errorCode:2,parameter:\"bad\")");
        const auto refused = [] { return FakeFault::userException(2, "bad"); };
        const auto notFound = [] { return FakeFault::notFoundException("Note.guid", "gone"); };
        const QString notFoundText = QStringLiteral("EDAMNotFoundException(identifier:\"Note.guid\",key:\"gone\")");
        const QString milkGuid = QString::fromStdString(milk.guid);
        return {
            {{{"getDefaultNotebook", refused()}}, BOTH(getDefaultNotebook()), "throws EDAMUserException", false, {}},
            {{{"getSyncChunk", FakeFault::rateLimit(300)}}, BOTH(getSyncChunck(0, 100, false)), "throws EDAMSystemException", false, {}},
            {{{"getNoteContent", notFound()}}, BOTH(getNoteContent(milkGuid)), "none", false, {notFoundText}},
            {{{"getNoteContent", FakeFault::httpStatus(503)}}, BOTH(getNoteContent(milkGuid)), "none", false,
             {QStringLiteral("TTransportException: Bad response from HTTP server: 503")}},
            {{{"updateNotebook", refused()}}, BOTH(updateNotebook(work)), "-1", true, {refusal}},
            {{{"expungeNotebook", notFound()}}, BOTH(deleteNotebook(QString::fromStdString(work.guid))), "-1", false, {}},
            {{{"updateTag", FakeFault::systemException(1, "Internal error")}}, BOTH(updateTag(errands)),
             "throws EDAMSystemException", false, {}},
            {{{"updateTag", FakeFault::truncatedReply(6)}}, BOTH(updateTag(errands)), "throws TProtocolException", false, {}},
            {{{"expungeTag", refused()}}, BOTH(deleteTag(QString::fromStdString(errands.guid))), "-1", true, {refusal}},
            {{{"expungeNote", refused()}}, BOTH(deleteNote(milkGuid)), "-1", true, {refusal + " (delete note)"}, {{refusal}}},
            {{{"updateNote", refused()}}, BOTH(updateNote(milk)), "none", true,
             {refusal + " (update note)", QStringLiteral("Buy milk")}, {{refusal}}},
            {{{"updateNote", notFound()}}, BOTH(updateNote(milk)), "none", false, {}},
            {{{"createNote", refused()}}, BOTH(createNote(callAnn)), "none", true,
             {refusal + " (create note)", QStringLiteral("Call Ann")}, {{refusal}}},
            {{{"createNote", notFound()}}, BOTH(createNote(callAnn)), "throws EDAMNotFoundException", false, {}},
            {{{"createNote", FakeFault::httpStatus(503)}}, BOTH(createNote(callAnn)), "throws TTransportException", false, {}},
            {{{"createTag", refused()}}, BOTH(createTag(chores)), "none", true, {refusal}},
            // The name taken, and the service lists no object of that name.
            {{{"createNotebook", FakeFault::userException(10, "Notebook.name")}}, BOTH(createNotebook(home)), "none", false, {}},
            // The list call after the name was refused fails on its own.
            {{{"createTag", FakeFault::userException(10, "Tag.name")}, {"listTags", FakeFault::systemException(1, "down")}},
             BOTH(createTag(chores)), "throws EDAMSystemException", false, {}},
        };
    }

    // Runs one row in one form with its faults injected. Each faulted call reaches the service
    // once: nothing is sent again, whatever the answer.
    Outcome runRow(const Row &row, bool inRun, EvernoteSync &sync, bool echoing)
    {
        service.clearFaults();
        service.clearRequests();
        for (auto [call, fault] : row.faults)
            service.inject(call, echoing ? fault.echoingRequest() : fault);
        const Outcome outcome = inRun ? row.run(sync) : row.serverActions();
        if (echoing) // a repeated request is no longer the refusal the row makes
            return outcome;
        for (const auto &[call, fault] : row.faults)
            EXPECT_EQ(service.callCount(call), 1) << call;
        EXPECT_EQ(service.callCount("authenticate"), inRun ? 0 : 1);
        return outcome;
    }

    EDAMNotebook work, home;
    EDAMTag errands, chores;
    EDAMNote milk, callAnn;
};

} // namespace

TEST_F(ServerActionsTest, EachFailureIsReportedDroppedOrLeftToTheCallerAsItsOperationSays)
{
    std::unique_ptr<EvernoteSync> sync = EvernoteSync::init();
    ASSERT_TRUE(sync);
    const std::vector<Row> rows = failureTable();
    for (size_t i = 0; i < rows.size(); ++i) {
        for (const bool inRun : {true, false}) {
            SCOPED_TRACE(testing::Message() << "row " << i << (inRun ? " in EvernoteSync" : " in ENServerActions"));
            const Row &row = rows[i];
            const qsizetype panesBefore = presenter.panes().size();
            const qsizetype linesBefore = log.lines().size();
            EXPECT_EQ(runRow(row, inRun, *sync, false).result, row.result);
            EXPECT_EQ(presenter.panes().mid(panesBefore),
                      row.pane ? QStringList{text("UPDATE_ERROR")} : QStringList());
            EXPECT_EQ(log.lines().mid(linesBefore), inRun ? row.runLog : row.serverActionsLog.value_or(row.runLog));
        }
    }
}

// The service may put anything in its texts, the request it was sent included; the password
// and the token must not come out in a pane, a log line or the text of an exception.
TEST_F(ServerActionsTest, SecretsNeverReachALogLineAPaneOrAnException)
{
    std::unique_ptr<EvernoteSync> sync = EvernoteSync::init();
    ASSERT_TRUE(sync);
    QStringList texts;
    for (const Row &row : failureTable()) {
        for (const bool inRun : {true, false})
            texts << runRow(row, inRun, *sync, true).thrown;
    }
    service.clearFaults();
    service.inject("authenticate", FakeFault::userException(8, "").echoingRequest().times(3));
    EXPECT_FALSE(EvernoteSync::init());
    EXPECT_FALSE(ENServerActions::authResultIn());
    EXPECT_FALSE(ENServerActions::authResult(QStringLiteral("alice"), Password));
    service.inject("authenticate", FakeFault::systemException(1, "").echoingRequest());
    texts << outcomeOf([] { return ENServerActions::authResultIn(); }).thrown;
    service.inject("checkVersion", FakeFault::applicationException(6, "").echoingRequest());
    texts << outcomeOf([] { return EvernoteSync::init() != nullptr; }).thrown;

    texts << presenter.panes() << log.lines();
    bool redacted = false;
    for (const QString &shown : std::as_const(texts)) {
        EXPECT_FALSE(shown.contains(Password)) << shown.toStdString();
        EXPECT_FALSE(shown.contains(QStringLiteral("S=s7:U="))) << shown.toStdString();
        redacted = redacted || shown.contains(QStringLiteral("[hidden]"));
    }
    EXPECT_TRUE(redacted) << "no text repeated a request: the check saw nothing";
}

TEST_F(ServerActionsTest, AuthenticationFailuresAreShownAsEachCallerReportsThem)
{
    const QString loginRefused = Localized::format(QStringLiteral("LOGIN_ERROR"), {QStringLiteral("password")});
    const QString unreachable = QStringLiteral("Could not make HTTP request");
    struct Row
    {
        const char *name;
        std::function<void()> setUp;
        QStringList serverActionsPanes;
        QStringList runPanes;
        std::optional<QStringList> passwordCheckPanes; // not applicable when unset
        int requests;
    };
    const std::vector<Row> rows = {
        {"no user", [] { SharedData::sharedManager()->setUserName(std::nullopt); }, {text("NO_USER")}, {text("NO_USER")},
         std::nullopt, 0},
        {"no password", [] { SharedData::sharedManager()->setPassword(QString()); },
         {Localized::format(QStringLiteral("NO_PASSWORD"), {QStringLiteral("alice")})},
         {Localized::format(QStringLiteral("NO_PASSWORD"), {QStringLiteral("alice")})}, std::nullopt, 0},
        {"wrong password", [] { SharedData::sharedManager()->setPassword(QStringLiteral("wrong")); }, {loginRefused},
         {loginRefused}, {{QStringLiteral("EDAMUserException(errorCode:8,parameter:\"password\")")}}, 6},
        {"version refused", [&] { service.setVersionAccepted(false); }, {}, {}, {{}}, 3},
        {"network down",
         [] {
             QString closed;
             {
                 FakeService gone; // nothing listens on its port once it has gone
                 closed = gone.userStoreUrl();
             }
             qputenv("KELVARA_USER_STORE_URL", closed.toUtf8());
         },
         {unreachable}, {}, {{unreachable}}, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        row.setUp();
        service.clearRequests();
        const auto panesOf = [&](const std::function<bool()> &authenticate) {
            const qsizetype before = presenter.panes().size();
            EXPECT_FALSE(authenticate());
            return presenter.panes().mid(before);
        };
        EXPECT_EQ(panesOf([] { return bool(ENServerActions::authResultIn()); }), row.serverActionsPanes);
        EXPECT_EQ(panesOf([] { return EvernoteSync::init() != nullptr; }), row.runPanes);
        if (row.passwordCheckPanes) {
            const QString userName = SharedData::sharedManager()->userName().value_or(QString());
            const QString password = SharedData::sharedManager()->password().value_or(QString());
            EXPECT_EQ(panesOf([&] { return bool(ENServerActions::authResult(userName, password)); }),
                      *row.passwordCheckPanes);
        }
        EXPECT_EQ(service.requests().size(), row.requests);
        SharedData::sharedManager()->setUserName(QStringLiteral("alice"));
        SharedData::sharedManager()->setPassword(Password);
        service.setVersionAccepted(true);
        service.exportEndpoints();
    }

    // Authenticated once; the note store is the base URL followed directly by the shard id.
    service.clearRequests();
    std::unique_ptr<EvernoteSync> sync = EvernoteSync::init();
    ASSERT_TRUE(sync);
    EXPECT_EQ(sync->getDefaultNotebook(), QString::fromStdString(alice.defaultNotebook().guid));
    const QList<FakeRequest> requests = service.requests();
    ASSERT_EQ(requests.size(), 3);
    EXPECT_EQ(requests[0].call, "checkVersion");
    EXPECT_EQ(requests[1].call, "authenticate");
    EXPECT_EQ(requests[2].path, "/edam/note/s7");
    const qsizetype panesBefore = presenter.panes().size();
    EXPECT_TRUE(ENServerActions::authResult(QStringLiteral("alice"), Password));
    EXPECT_EQ(presenter.panes().size(), panesBefore);
}

TEST_F(ServerActionsTest, ACreateRefusedForItsNameJoinsTheServicesObjectOfExactlyThatName)
{
    std::unique_ptr<EvernoteSync> sync = EvernoteSync::init();
    ASSERT_TRUE(sync);
    EDAMTag tag;
    tag.__set_name("Errands");
    const std::optional<EDAMTag> joinedTag = sync->createTag(tag);
    ASSERT_TRUE(joinedTag);
    EXPECT_EQ(joinedTag->guid, errands.guid);
    EDAMNotebook notebook;
    notebook.__set_name("Work");
    const std::optional<EDAMNotebook> joinedNotebook = ENServerActions::createNotebook(notebook);
    ASSERT_TRUE(joinedNotebook);
    EXPECT_EQ(joinedNotebook->guid, work.guid);

    // The service takes names in any letter case as the same; the join asks for the same text.
    tag.__set_name("errands");
    EXPECT_FALSE(sync->createTag(tag));
    notebook.__set_name("WORK");
    EXPECT_FALSE(ENServerActions::createNotebook(notebook));
    EXPECT_TRUE(presenter.panes().isEmpty());
    EXPECT_TRUE(log.lines().isEmpty());
    EXPECT_EQ(alice.tags().size(), 1u);
    EXPECT_EQ(alice.notebooks().size(), 2u);
}
