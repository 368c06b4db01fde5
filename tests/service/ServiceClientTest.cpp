#include "service/EDAMNotFoundException.h"
#include "service/EDAMSystemException.h"
#include "service/EDAMUserException.h"
#include "service/ServiceConfiguration.h"
#include "service/TApplicationException.h"
#include "service/TBinaryProtocol.h"
#include "service/TProtocolException.h"
#include "service/TTransportException.h"
#include "tests/service/AllocationProbe.h"
#include "tests/service/TestClients.h"
#include "tests/service/WireBytes.h"
#include "tests/support/LogCapture.h"
#include "tests/support/fakeservice/FakeService.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QUuid>

#include <gtest/gtest.h>

#include <functional>
#include <set>

using namespace std::chrono_literals;

namespace {

class ServiceClientTest : public ::testing::Test
{
protected:
    EDAMNoteStoreClient noteStore(std::chrono::milliseconds timeout = THTTPClient::DefaultTimeout)
    {
        return TestClients::noteStore(service.noteStoreUrl("s1"), timeout);
    }
    QByteArray lastBody() const { return service.requests().constLast().body; }
    std::string content() { return noteStore().getNoteContent(token, guid); }
    // Sets up one scripted reply to getNoteContent.
    void replyWith(const QByteArray &body, const QByteArray &type = "application/x-thrift")
    {
        service.inject("getNoteContent", FakeFault::replyBody(body, type));
    }

    // A reply to a call, written by hand: the header, then the result struct's fields.
    static QByteArray reply(const QByteArray &call, const QByteArray &resultFields)
    {
        return WireBytes().versionedHeader(call, WireBytes::Reply).raw(resultFields).stop();
    }
    static QByteArray userExceptionField()
    {
        return WireBytes().field(WireBytes::Struct, 1).field(WireBytes::I32, 1).i32(10).field(WireBytes::String, 2).string("Tag.name").stop();
    }

    FakeService service;
    FakeAccount &alice = service.addAccount("alice", "correct horse", "s1");
    std::string guid = alice.addNote("Groceries", "<en-note>milk</en-note>").guid;
    std::string token = service.issueToken("alice");
};

template <typename Exception, typename Call>
Exception raised(Call &&call)
{
    try {
        call();
    } catch (const Exception &e) {
        return e;
    }
    ADD_FAILURE() << "the call did not raise the expected exception";
    throw std::logic_error("not raised");
}

} // namespace

TEST_F(ServiceClientTest, CallsGoOutAsOnePostWithTheUnversionedHeader)
{
    noteStore().getSyncChunk(token, 5, 100, false);
    const FakeRequest request = service.requests().constLast();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/edam/note/s1");
    EXPECT_EQ(request.headers.value("content-type"), "application/x-thrift");
    const auto withToken = [&](const char *call) {
        return WireBytes().unversionedHeader(call, WireBytes::Call, 0).field(WireBytes::String, 1).string(QByteArray::fromStdString(token));
    };
    // false is still written.
    EXPECT_EQ(request.body.toHex(), withToken("getSyncChunk").field(WireBytes::I32, 2).i32(5).field(WireBytes::I32, 3).i32(100)
                                        .field(WireBytes::Bool, 4).i8(0).stop().bytes().toHex());
    // An absent guid is left out of the call, not sent empty.
    EXPECT_THROW(noteStore().getNoteContent(token, std::nullopt), EDAMNotFoundException);
    EXPECT_EQ(lastBody().toHex(), withToken("getNoteContent").stop().bytes().toHex());
    EXPECT_TRUE(TestClients::userStore(service.userStoreUrl()).checkVersion("Kelvara", 1, 15));
    EXPECT_EQ(lastBody().toHex(), WireBytes().unversionedHeader("checkVersion", WireBytes::Call, 0).field(WireBytes::String, 1)
                                      .string("Kelvara").field(WireBytes::I16, 2).i16(1).field(WireBytes::I16, 3).i16(15).stop().bytes().toHex());
}

TEST_F(ServiceClientTest, RepliesAreReadInBothHeaderFormsAndTheResultWinsThenTheFirstException)
{
    const QByteArray hi = WireBytes().field(WireBytes::String, 0).string("<en-note>hi</en-note>");
    replyWith(reply("getNoteContent", hi));
    EXPECT_EQ(content(), "<en-note>hi</en-note>");
    // The unversioned form; its name and sequence id are not the call's and do not matter.
    replyWith(WireBytes().unversionedHeader("other", WireBytes::Reply, 42).raw(hi).stop());
    EXPECT_EQ(content(), "<en-note>hi</en-note>");

    replyWith(WireBytes().versionedHeader("getNoteContent", WireBytes::Exception)
                  .field(WireBytes::String, 1).string("no such call").field(WireBytes::I32, 2).i32(1).stop());
    EXPECT_EQ(raised<TApplicationException>([&] { content(); }).type(), 1);
    replyWith(WireBytes().i32(int32_t(0x80020001)).string("getNoteContent").i32(0).raw(hi).stop());
    EXPECT_THROW(content(), TProtocolException);

    // The result wins, then the first exception in the order the call declares them.
    const auto systemField = WireBytes().field(WireBytes::Struct, 2).field(WireBytes::I32, 1).i32(2).stop();
    const auto notFoundField = WireBytes().field(WireBytes::Struct, 3).field(WireBytes::String, 1).string("Tag.guid")
                                   .field(WireBytes::String, 2).string("g").stop();
    EDAMTag tag;
    tag.__set_name("home");

    const auto createTag = [&](const QByteArray &fields) {
        service.inject("createTag", FakeFault::replyBody(reply("createTag", fields)));
        return [&] { noteStore().createTag(token, tag); };
    };
    auto user = raised<EDAMUserException>(createTag(userExceptionField()));
    EXPECT_EQ(user.errorCode, 10);
    EXPECT_EQ(user.parameter, "Tag.name");
    EXPECT_EQ(raised<EDAMUserException>(createTag(systemField.bytes() + userExceptionField())).parameter, "Tag.name");
    EXPECT_EQ(raised<EDAMSystemException>(createTag(notFoundField.bytes() + systemField.bytes())).errorCode, 2);
    EXPECT_EQ(raised<EDAMNotFoundException>(createTag(notFoundField)).identifier, "Tag.guid");

    // A result beside an exception is the answer.
    service.inject("updateTag", FakeFault::replyBody(reply("updateTag", WireBytes().field(WireBytes::I32, 0).i32(77).bytes()
                                                                            + userExceptionField())));
    tag.__set_guid("g");
    EXPECT_EQ(noteStore().updateTag(token, tag), 77);

    // Nothing usable: no field at all, a result of the wrong type, an empty result from the service.
    const struct { std::string call; FakeFault fault; std::function<void()> run; } nothing[] = {
        {"getNoteContent", FakeFault::replyBody(reply("getNoteContent", {})), [&] { content(); }},
        {"getNoteContent", FakeFault::replyBody(reply("getNoteContent", WireBytes().field(WireBytes::I32, 0).i32(3))), [&] { content(); }},
        {"checkVersion", FakeFault::emptyResult(), [&] { TestClients::userStore(service.userStoreUrl()).checkVersion("Kelvara", 1, 15); }},
    };
    for (const auto &[call, fault, run] : nothing) {
        service.inject(call, fault);
        EXPECT_EQ(raised<TApplicationException>(run).type(), TApplicationException::MissingResult) << call;
    }
}

TEST_F(ServiceClientTest, FailedExchangesRaiseTransportErrorsAndLeaveTheClientClean)
{
    EDAMNoteStoreClient client = noteStore();
    const auto failure = [&](int status) {
        service.inject("getNoteContent", FakeFault::httpStatus(status));
        return raised<TTransportException>([&] { client.getNoteContent(token, guid); }).reason();
    };
    EXPECT_EQ(failure(503), QStringLiteral("Bad response from HTTP server: 503"));
    const QByteArray failedRequest = lastBody();
    EXPECT_EQ(client.getNoteContent(token, guid), "<en-note>milk</en-note>");
    EXPECT_EQ(lastBody().toHex(), failedRequest.toHex()) << "the second request carried leftovers of the first";
    // A redirect is an answer other than 200, not followed.
    service.clearRequests();
    EXPECT_EQ(failure(302), QStringLiteral("Bad response from HTTP server: 302"));
    EXPECT_EQ(service.requests().size(), 1);

    EDAMTag tag;
    tag.__set_name("errands");
    for (const FakeFault &fault : {FakeFault::dropConnection(), FakeFault::cutConnection(5)}) {
        service.inject("createTag", fault);
        EXPECT_THROW(noteStore().createTag(token, tag), TTransportException);
    }
    EXPECT_NO_THROW(noteStore().listTags(token));

    // An answer that never comes before the fake stops: only the timeout can end the call.
    service.inject("getNoteContent", FakeFault::delay(1h));
    EXPECT_THROW(noteStore(300ms).getNoteContent(token, guid), TTransportException);
}

// A reply cut anywhere, inside a number, a length, a string or between fields, is malformed:
// never a result read from zeros or from what a previous reply left behind.
TEST_F(ServiceClientTest, EveryCutOfAReplyIsMalformed)
{
    alice.addTag("home");
    alice.addNotebook("Work");
    const EDAMSyncChunk whole = noteStore().getSyncChunk(token, 0, 100, false);
    int cut = 0;
    for (;; ++cut) {
        service.inject("getSyncChunk", FakeFault::truncatedReply(cut));
        try {
            EDAMSyncChunk read = noteStore().getSyncChunk(token, 0, 100, false);
            read.__set_currentTime(whole.currentTime); // the one field that follows the clock
            EXPECT_EQ(read, whole) << "cut at " << cut;
            break;
        } catch (const TProtocolException &) {
        }
    }
    EXPECT_GT(cut, 200) << "a reply was taken before it had arrived whole";
}

TEST_F(ServiceClientTest, RepliesThatLieAboutTheirLengthFailAtOnce)
{
    const QByteArray page = "<!DOCTYPE html><html><body>Please sign in to the network</body></html>";
    // The page's first word reads as a name length of about a gigabyte; the string's length is
    // checked against what the HTTP reply holds (EDAMTypesTest checks the in-memory case).
    const QByteArray hostile[] = {
        page, reply("getNoteContent", WireBytes().field(WireBytes::String, 0).i32(0x7ffffff0).raw("<en-note>"))};
    for (const QByteArray &body : hostile) {
        replyWith(body);
        AllocationProbe probe;
        EXPECT_THROW(content(), TProtocolException) << body.toHex().left(40).data();
        EXPECT_LT(AllocationProbe::largest(), size_t(1) << 20);
    }

    // A page that says what it is is refused before it is read as a reply.
    replyWith(page, "text/html; charset=utf-8");
    EXPECT_TRUE(raised<TProtocolException>([&] { content(); }).reason().contains(QStringLiteral("text/html")));
}

TEST_F(ServiceClientTest, ReadingAReplyTakesASmallMultipleOfItsSize)
{
    // The elements' allowance, plus the reply itself in its buffer and in the strings read from it.
    const auto bound = [](qsizetype replyBytes) {
        return size_t((TBinaryProtocol::MemoryPerReplyByte + 3) * replyBytes + TBinaryProtocol::MemorySlack);
    };
    // One byte on the wire for each empty note, hundreds in memory: in one list, and spread
    // over many small lists that each look harmless alone.
    const QByteArray noteWithResources = WireBytes().field(WireBytes::List, 13).list(WireBytes::Struct, 100).raw(QByteArray(100, '\0')).stop();
    for (const WireBytes &notes : {WireBytes().list(WireBytes::Struct, 200000).raw(QByteArray(200000, '\0')),
                                    WireBytes().list(WireBytes::Struct, 2000).raw(noteWithResources.repeated(2000))}) {
        const QByteArray body = reply("getSyncChunk", WireBytes().field(WireBytes::Struct, 0).field(WireBytes::List, 4).raw(notes).stop());
        service.inject("getSyncChunk", FakeFault::replyBody(body));
        AllocationProbe probe;
        EXPECT_THROW(noteStore().getSyncChunk(token, 0, 100, false), TProtocolException);
        EXPECT_LT(AllocationProbe::peak(), bound(body.size()));
    }

    // Honest replies of the smallest objects the service lists are read whole, within the bound.
    WireBytes tags;
    tags.field(WireBytes::List, 0).list(WireBytes::Struct, 20000);
    for (int i = 0; i < 20000; ++i)
        tags.field(WireBytes::String, 1).string(QUuid::createUuid().toByteArray(QUuid::WithoutBraces))
            .field(WireBytes::String, 2).string("t" + QByteArray::number(i)).field(WireBytes::I32, 4).i32(i).stop();
    const QByteArray honest = reply("listTags", tags);
    service.inject("listTags", FakeFault::replyBody(honest));
    AllocationProbe probe;
    const std::vector<EDAMTag> listed = noteStore().listTags(token);
    EXPECT_LT(AllocationProbe::peak(), bound(honest.size()));
    ASSERT_EQ(listed.size(), 20000u);
    EXPECT_EQ(listed.back().name, "t19999");
}

// A value too big for memory is EDAMTypesTest's; here the reply fits and the notes it lists do not,
// and the client goes on serving calls.
TEST_F(ServiceClientTest, RunningOutOfMemoryWhileReadingIsAProtocolError)
{
    service.inject("getSyncChunk", FakeFault::replyBody(reply("getSyncChunk", WireBytes().field(WireBytes::Struct, 0)
        .field(WireBytes::List, 4).list(WireBytes::Struct, 1000).raw(QByteArray(1000, '\0')).stop())));
    {
        AllocationProbe probe(64000);
        EXPECT_THROW(noteStore().getSyncChunk(token, 0, 100, false), TProtocolException);
    }
    EXPECT_EQ(content(), "<en-note>milk</en-note>");
}

TEST_F(ServiceClientTest, AChangeReachesTheServiceOnceEvenWhenItsConnectionDrops)
{
    // An open connection to tempt the change, then a service that does the work and drops the
    // connection before its answer: one note, and the caller told the exchange failed.
    noteStore().listNotebooks(token);
    service.inject("createNote", FakeFault::workThenDrop());
    EDAMNote note;
    note.__set_title("Call the plumber");
    EXPECT_THROW(noteStore().createNote(token, note), TTransportException);
    EXPECT_EQ(service.callCount("createNote"), 1);
    EXPECT_EQ(alice.notes().size(), 2u);

    // Every call that changes something goes out on a fresh connection; reads use the open one.
    EDAMNotebook notebook;
    notebook.__set_name("Work");
    notebook = noteStore().createNotebook(token, notebook);
    noteStore().updateNotebook(token, notebook);
    EDAMTag tag;
    tag.__set_name("home");
    noteStore().updateTag(token, tag = noteStore().createTag(token, tag));
    note = noteStore().createNote(token, note);
    noteStore().updateNote(token, note);
    noteStore().getNoteContent(token, note.guid);
    noteStore().expungeNote(token, note.guid);
    noteStore().expungeTag(token, tag.guid);
    noteStore().expungeNotebook(token, notebook.guid);
    TestClients::userStore(service.userStoreUrl()).checkVersion("Kelvara", 1, 15);
    TestClients::userStore(service.userStoreUrl()).authenticate("alice", "correct horse", "k", "s");
    const std::set<std::string> reads = {"listNotebooks", "getNoteContent", "checkVersion"};
    std::set<std::string> seen;
    for (const FakeRequest &request : service.requests().mid(2)) {
        seen.insert(request.call);
        EXPECT_EQ(request.indexOnConnection == 0, !reads.count(request.call)) << request.call;
    }
    EXPECT_EQ(seen.size(), 12u);

    // A read whose reused connection drops before a byte of the answer is sent again, once.
    service.inject("listTags", FakeFault::dropConnection());
    EXPECT_NO_THROW(noteStore().listTags(token));
    EXPECT_EQ(service.callCount("listTags"), 2);
}

TEST_F(ServiceClientTest, TokensAndPasswordsStayOutOfLogsAndExceptionTexts)
{
    LogCapture log;
    QStringList texts;
    const std::string password = "pw-Zq8!unique";
    try {
        TestClients::userStore(service.userStoreUrl()).authenticate("alice", password, "kelvaraap", "0123456789abcdef");
    } catch (const EDAMUserException &e) {
        texts << e.description();
    }
    // The drop twice: libcurl sends a read again when its reused connection drops.
    for (const FakeFault &fault : {FakeFault::httpStatus(500), FakeFault::dropConnection().times(2), FakeFault::truncatedReply(9),
                                   FakeFault::replyBody("<html>" + QByteArray::fromStdString(token) + "</html>"),
                                   FakeFault::applicationException(6, "internal")}) {
        service.inject("getNoteContent", fault);
        try {
            content();
        } catch (const TException &e) {
            texts << e.description() << QString::fromUtf8(e.what());
        }
    }
    texts << log.lines();
    ASSERT_GE(texts.size(), 11);
    for (const QString &text : std::as_const(texts)) {
        EXPECT_FALSE(text.contains(QString::fromStdString(token))) << text.toStdString();
        EXPECT_FALSE(text.contains(QString::fromStdString(password))) << text.toStdString();
    }
}

// The note store carries the authentication token: never in clear text by default. (The overrides
// by the environment are what every other service test runs on.)
TEST(ServiceConfigurationTest, BuiltInEndpointsAreHttps)
{
    qunsetenv("KELVARA_USER_STORE_URL");
    qunsetenv("KELVARA_NOTE_STORE_BASE_URL");
    const QUrl users(ServiceConfiguration::userStoreUrl());
    const QUrl notes(ServiceConfiguration::noteStoreBaseUrl());
    EXPECT_EQ(users.scheme(), QStringLiteral("https"));
    EXPECT_EQ(notes.scheme(), QStringLiteral("https"));
}

TEST(ServiceTlsTest, OnlyTheCertificatesNamedInTheEnvironmentAreTrusted)
{
#ifndef KELVARA_FAKE_SERVICE_TLS
    GTEST_SKIP() << "the fake service was built without TLS";
#endif
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty())
        GTEST_SKIP() << "openssl is not installed";
    // A service on https with a certificate of its own, made for the test.
    QTemporaryDir dir;
    const QString certificate = dir.filePath(QStringLiteral("cert.pem"));
    const QString key = dir.filePath(QStringLiteral("key.pem"));
    const QString missing = dir.filePath(QStringLiteral("missing.pem"));
    QProcess generate;
    generate.start(openssl, QStringLiteral("req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 -subj /CN=127.0.0.1 "
                                           "-addext subjectAltName=IP:127.0.0.1 -keyout %1 -out %2").arg(key, certificate).split(u' '));
    ASSERT_TRUE(generate.waitForFinished(60000));
    ASSERT_EQ(generate.exitCode(), 0) << generate.readAllStandardError().toStdString();
    FakeService service(FakeService::Options{certificate, key});

    // The version check over https with these files named in the environment: the failure, if any.
    const auto failure = [&](const QString &caBundle, const QString &certFile) -> std::optional<TTransportException> {
        for (const auto &[variable, file] : {std::pair{"CURL_CA_BUNDLE", caBundle}, std::pair{"SSL_CERT_FILE", certFile}})
            file.isEmpty() ? qunsetenv(variable) : qputenv(variable, file.toLocal8Bit());
        std::optional<TTransportException> failed;
        try {
            EXPECT_TRUE(TestClients::userStore(service.userStoreUrl()).checkVersion("Kelvara", 1, 15));
        } catch (const TTransportException &e) {
            failed = e;
        }
        qunsetenv("CURL_CA_BUNDLE");
        qunsetenv("SSL_CERT_FILE");
        return failed;
    };
    const std::optional<TTransportException> untrusted = failure({}, {});
    ASSERT_TRUE(untrusted);
    EXPECT_TRUE(service.requests().isEmpty()) << "a request went out over the untrusted connection";
    EXPECT_FALSE(failure({}, certificate));
    // CURL_CA_BUNDLE comes first, and replaces the trusted certificates rather than adding to them.
    EXPECT_TRUE(failure(missing, certificate));
    EXPECT_FALSE(failure(certificate, missing));
    EXPECT_EQ(service.callCount("checkVersion"), 2);
}
