#include "service/EDAMNotFoundException.h"
#include "service/EDAMSystemException.h"
#include "service/EDAMUserException.h"
#include "service/TApplicationException.h"
#include "service/TBinaryProtocol.h"
#include "service/TProtocolException.h"
#include "service/TTransportException.h"
#include "tests/service/AllocationProbe.h"
#include "tests/service/TestClients.h"
#include "tests/service/WireBytes.h"
#include "tests/support/LogCapture.h"
#include "tests/support/fakeservice/FakeService.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUuid>

#include <thrift/transport/TBufferTransports.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

using namespace std::chrono_literals;

namespace {

class ServiceClientTest : public ::testing::Test
{
protected:
    ServiceClientTest()
    {
        service.addAccount("alice", "correct horse", "s1").addNote("Groceries", "<en-note>milk</en-note>");
        token = service.issueToken("alice");
    }

    EDAMNoteStoreClient noteStore(std::chrono::milliseconds timeout = THTTPClient::DefaultTimeout)
    {
        return TestClients::noteStore(service.noteStoreUrl("s1"), timeout);
    }
    std::string noteGuid() { return service.account("alice").notes().front().guid; }
    QByteArray lastBody() const { return service.requests().constLast().body; }

    // A reply to a call, written by hand: the header, then the result struct's fields.
    static QByteArray reply(const QByteArray &call, const QByteArray &resultFields)
    {
        return WireBytes().versionedHeader(call, WireBytes::Reply).raw(resultFields).stop();
    }
    static QByteArray userExceptionField(int16_t id = 1)
    {
        return WireBytes().field(WireBytes::Struct, id).field(WireBytes::I32, 1).i32(10)
            .field(WireBytes::String, 2).string("Tag.name").stop();
    }

    FakeService service;
    std::string token;
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
    EXPECT_EQ(request.headers.value("accept"), "application/x-thrift");
    EXPECT_EQ(request.headers.value("user-agent"), "Cocoa/THTTPClient");
    EXPECT_EQ(request.body.toHex(), WireBytes()
                                        .unversionedHeader("getSyncChunk", WireBytes::Call, 0)
                                        .field(WireBytes::String, 1).string(QByteArray::fromStdString(token))
                                        .field(WireBytes::I32, 2).i32(5)
                                        .field(WireBytes::I32, 3).i32(100)
                                        .field(WireBytes::Bool, 4).i8(0) // false is still written
                                        .stop().bytes().toHex());

    // An absent guid is left out of the call, not sent empty.
    EXPECT_THROW(noteStore().getNoteContent(token, std::nullopt), EDAMNotFoundException);
    EXPECT_EQ(lastBody().toHex(), WireBytes()
                                      .unversionedHeader("getNoteContent", WireBytes::Call, 0)
                                      .field(WireBytes::String, 1).string(QByteArray::fromStdString(token))
                                      .stop().bytes().toHex());

    EXPECT_TRUE(TestClients::userStore(service.userStoreUrl()).checkVersion("Kelvara", 1, 15));
    EXPECT_EQ(lastBody().toHex(), WireBytes()
                                      .unversionedHeader("checkVersion", WireBytes::Call, 0)
                                      .field(WireBytes::String, 1).string("Kelvara")
                                      .field(WireBytes::I16, 2).i16(1)
                                      .field(WireBytes::I16, 3).i16(15)
                                      .stop().bytes().toHex());
}

TEST_F(ServiceClientTest, RepliesAreReadInBothHeaderForms)
{
    const QByteArray content = WireBytes().field(WireBytes::String, 0).string("<en-note>hi</en-note>");
    service.inject("getNoteContent", FakeFault::replyBody(reply("getNoteContent", content)));
    EXPECT_EQ(noteStore().getNoteContent(token, noteGuid()), "<en-note>hi</en-note>");

    // The unversioned form; its name and sequence id are not the call's and do not matter.
    service.inject("getNoteContent",
                   FakeFault::replyBody(WireBytes().unversionedHeader("other", WireBytes::Reply, 42).raw(content).stop()));
    EXPECT_EQ(noteStore().getNoteContent(token, noteGuid()), "<en-note>hi</en-note>");

    service.inject("getNoteContent", FakeFault::replyBody(WireBytes()
                                                              .versionedHeader("getNoteContent", WireBytes::Exception)
                                                              .field(WireBytes::String, 1).string("no such call")
                                                              .field(WireBytes::I32, 2).i32(1)
                                                              .stop()));
    const auto application = raised<TApplicationException>([&] { noteStore().getNoteContent(token, noteGuid()); });
    EXPECT_EQ(application.type(), 1);
    EXPECT_EQ(application.description(), QStringLiteral("Unknown method: no such call"));

    service.inject("getNoteContent",
                   FakeFault::replyBody(WireBytes().i32(int32_t(0x80020001)).string("getNoteContent").i32(0).raw(content).stop()));
    EXPECT_EQ(raised<TProtocolException>([&] { noteStore().getNoteContent(token, noteGuid()); }).reason(),
              QStringLiteral("Bad version in readMessageBegin"));
}

TEST_F(ServiceClientTest, TheResultWinsThenTheFirstExceptionInOrder)
{
    const auto systemField = WireBytes().field(WireBytes::Struct, 2).field(WireBytes::I32, 1).i32(2).stop();
    const auto notFoundField = WireBytes().field(WireBytes::Struct, 3).field(WireBytes::String, 1).string("Tag.guid")
                                   .field(WireBytes::String, 2).string("g").stop();
    EDAMTag tag;
    tag.__set_name("home");

    service.inject("createTag", FakeFault::replyBody(reply("createTag", userExceptionField())));
    auto user = raised<EDAMUserException>([&] { noteStore().createTag(token, tag); });
    EXPECT_EQ(user.errorCode, 10);
    EXPECT_EQ(user.parameter, "Tag.name");

    service.inject("createTag", FakeFault::replyBody(reply("createTag", systemField.bytes() + userExceptionField())));
    EXPECT_EQ(raised<EDAMUserException>([&] { noteStore().createTag(token, tag); }).parameter, "Tag.name");
    service.inject("createTag", FakeFault::replyBody(reply("createTag", notFoundField.bytes() + systemField.bytes())));
    EXPECT_EQ(raised<EDAMSystemException>([&] { noteStore().createTag(token, tag); }).errorCode, 2);
    service.inject("createTag", FakeFault::replyBody(reply("createTag", notFoundField)));
    EXPECT_EQ(raised<EDAMNotFoundException>([&] { noteStore().createTag(token, tag); }).identifier, "Tag.guid");

    // A result beside an exception is the answer.
    service.inject("updateTag", FakeFault::replyBody(reply("updateTag", WireBytes().field(WireBytes::I32, 0).i32(77).bytes()
                                                                            + userExceptionField())));
    tag.__set_guid("g");
    EXPECT_EQ(noteStore().updateTag(token, tag), 77);

    // Nothing usable: no field at all, a result of the wrong type, an exception the call does
    // not raise, an empty result from the service.
    const struct
    {
        std::string call;
        FakeFault fault;
        std::function<void()> run;
    } nothing[] = {
        {"getNoteContent", FakeFault::replyBody(reply("getNoteContent", {})),
         [&] { noteStore().getNoteContent(token, noteGuid()); }},
        {"getNoteContent", FakeFault::replyBody(reply("getNoteContent", WireBytes().field(WireBytes::I32, 0).i32(3))),
         [&] { noteStore().getNoteContent(token, noteGuid()); }},
        {"listNotebooks", FakeFault::replyBody(reply("listNotebooks", notFoundField)), [&] { noteStore().listNotebooks(token); }},
        {"checkVersion", FakeFault::emptyResult(),
         [&] { TestClients::userStore(service.userStoreUrl()).checkVersion("Kelvara", 1, 15); }},
    };
    for (const auto &[call, fault, run] : nothing) {
        service.inject(call, fault);
        const auto missing = raised<TApplicationException>(run);
        EXPECT_EQ(missing.type(), TApplicationException::MissingResult) << call;
        EXPECT_EQ(missing.description().toStdString(), "Missing result: " + call + " failed: unknown result");
    }
}

TEST_F(ServiceClientTest, FailedExchangesRaiseTheTransportTextsAndLeaveTheClientClean)
{
    EDAMNoteStoreClient client = noteStore();
    service.inject("getNoteContent", FakeFault::httpStatus(503));
    EXPECT_EQ(raised<TTransportException>([&] { client.getNoteContent(token, noteGuid()); }).reason(),
              QStringLiteral("Bad response from HTTP server: 503"));
    const QByteArray failedRequest = lastBody();
    EXPECT_EQ(client.getNoteContent(token, noteGuid()), "<en-note>milk</en-note>");
    EXPECT_EQ(lastBody().toHex(), failedRequest.toHex()) << "the second request carried leftovers of the first";

    // A redirect is an answer other than 200, not followed.
    service.clearRequests();
    service.inject("getNoteContent", FakeFault::httpStatus(302));
    EXPECT_EQ(raised<TTransportException>([&] { client.getNoteContent(token, noteGuid()); }).reason(),
              QStringLiteral("Bad response from HTTP server: 302"));
    EXPECT_EQ(service.requests().size(), 1);

    EXPECT_EQ(raised<TTransportException>([&] { TestClients::noteStore(service.noteStoreUrl("nowhere")).listTags(token); })
                  .reason(),
              QStringLiteral("Bad response from HTTP server: 404"));

    EDAMTag tag;
    tag.__set_name("errands");
    for (const FakeFault &fault : {FakeFault::dropConnection(), FakeFault::cutConnection(5)}) {
        service.inject("createTag", fault);
        const auto failed = raised<TTransportException>([&] { noteStore().createTag(token, tag); });
        EXPECT_EQ(failed.reason(), QStringLiteral("Could not make HTTP request"));
        EXPECT_FALSE(failed.userInfo().value(QStringLiteral("error")).toString().isEmpty());
    }
    EXPECT_NO_THROW(noteStore().listTags(token));

    service.inject("listTags", FakeFault::truncatedReply(12));
    EXPECT_THROW(noteStore().listTags(token), TProtocolException);
}

// A reply cut anywhere, inside a number, a length, a string or between fields, is malformed:
// never a result read from zeros or from what a previous reply left behind.
TEST_F(ServiceClientTest, EveryCutOfAReplyIsMalformed)
{
    FakeAccount &alice = service.account("alice");
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
        service.inject("getNoteContent", FakeFault::replyBody(body));
        AllocationProbe probe;
        EXPECT_THROW(noteStore().getNoteContent(token, noteGuid()), TProtocolException) << body.toHex().left(40).data();
        EXPECT_LT(AllocationProbe::largest(), size_t(1) << 20);
    }

    // A page that says what it is is refused before it is read as a reply.
    service.inject("getNoteContent", FakeFault::replyBody(page, "text/html; charset=utf-8"));
    EXPECT_TRUE(raised<TProtocolException>([&] { noteStore().getNoteContent(token, noteGuid()); })
                    .reason().contains(QStringLiteral("text/html")));
}

TEST_F(ServiceClientTest, ReadingAReplyTakesASmallMultipleOfItsSize)
{
    // The elements' allowance, plus the reply itself in its buffer and in the strings read from it.
    const auto bound = [](qsizetype replyBytes) {
        return size_t((TBinaryProtocol::MemoryPerReplyByte + 3) * replyBytes + TBinaryProtocol::MemorySlack);
    };
    const auto chunkReply = [](const QByteArray &chunkFields) {
        return reply("getSyncChunk", WireBytes().field(WireBytes::Struct, 0).raw(chunkFields).stop());
    };
    // One byte on the wire for each empty note, hundreds in memory: in one list, and spread
    // over many small lists that each look harmless alone.
    const int many = 200000;
    const QByteArray emptyNotes = WireBytes().field(WireBytes::List, 4).list(WireBytes::Struct, many)
                                      .raw(QByteArray(many, '\0'));
    const QByteArray noteWithResources = WireBytes().field(WireBytes::List, 13).list(WireBytes::Struct, 100)
                                             .raw(QByteArray(100, '\0')).stop();
    const QByteArray resourcefulNotes = WireBytes().field(WireBytes::List, 4).list(WireBytes::Struct, 2000)
                                            .raw(noteWithResources.repeated(2000));
    for (const QByteArray &fields : {emptyNotes, resourcefulNotes}) {
        const QByteArray body = chunkReply(fields);
        service.inject("getSyncChunk", FakeFault::replyBody(body));
        AllocationProbe probe;
        EXPECT_THROW(noteStore().getSyncChunk(token, 0, 100, false), TProtocolException);
        EXPECT_LT(AllocationProbe::peak(), bound(body.size()));
    }

    // Honest replies of the smallest objects the service lists are read whole, within the bound.
    std::vector<EDAMTag> tags(20000);
    for (size_t i = 0; i < tags.size(); ++i) {
        tags[i].__set_guid(QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString());
        tags[i].__set_name("t" + std::to_string(i));
        tags[i].__set_updateSequenceNum(int32_t(i));
    }
    auto buffer = std::make_shared<apache::thrift::transport::TMemoryBuffer>();
    apache::thrift::protocol::TBinaryProtocol writer(buffer);
    writer.writeMessageBegin("listTags", apache::thrift::protocol::T_REPLY, 0);
    writer.writeFieldBegin("success", apache::thrift::protocol::T_LIST, 0);
    writer.writeListBegin(apache::thrift::protocol::T_STRUCT, uint32_t(tags.size()));
    for (const EDAMTag &tag : tags)
        tag.write(&writer);
    writer.writeFieldStop();
    const QByteArray honest = QByteArray::fromStdString(buffer->getBufferAsString());
    service.inject("listTags", FakeFault::replyBody(honest));
    AllocationProbe probe;
    const std::vector<EDAMTag> listed = noteStore().listTags(token);
    EXPECT_LT(AllocationProbe::peak(), bound(honest.size()));
    ASSERT_EQ(listed.size(), tags.size());
    EXPECT_EQ(listed.back().guid, tags.back().guid);
}

TEST_F(ServiceClientTest, RunningOutOfMemoryWhileReadingIsAProtocolError)
{
    // The answer itself does not fit.
    const QByteArray large = reply("getNoteContent", WireBytes().field(WireBytes::String, 0)
                                                         .string("<en-note>" + QByteArray(300000, 'x') + "</en-note>"));
    service.inject("getNoteContent", FakeFault::replyBody(large));
    {
        AllocationProbe probe(100000);
        EXPECT_THROW(noteStore().getNoteContent(token, noteGuid()), TProtocolException);
    }
    // The answer fits, the notes it lists do not.
    service.inject("getSyncChunk", FakeFault::replyBody(reply("getSyncChunk", WireBytes()
                                                                                  .field(WireBytes::Struct, 0)
                                                                                  .field(WireBytes::List, 4)
                                                                                  .list(WireBytes::Struct, 1000)
                                                                                  .raw(QByteArray(1000, '\0'))
                                                                                  .stop())));
    {
        AllocationProbe probe(64000);
        EXPECT_THROW(noteStore().getSyncChunk(token, 0, 100, false), TProtocolException);
    }
    EXPECT_EQ(noteStore().getNoteContent(token, noteGuid()), "<en-note>milk</en-note>");
}

TEST_F(ServiceClientTest, AnAnswerSlowerThanTheTimeoutFails)
{
    // An answer that never comes before the fake stops: only the timeout can end the call.
    service.inject("getNoteContent", FakeFault::delay(1h));
    const auto failed = raised<TTransportException>([&] { noteStore(300ms).getNoteContent(token, noteGuid()); });
    EXPECT_EQ(failed.reason(), QStringLiteral("Could not make HTTP request"));
    EXPECT_TRUE(failed.userInfo().value(QStringLiteral("error")).toString().contains(QStringLiteral("timed out")));
}

TEST_F(ServiceClientTest, AChangeReachesTheServiceOnceEvenWhenItsConnectionDrops)
{
    // An open connection to tempt the change, then a service that does the work and drops the
    // connection before its answer: one note, and the caller told the exchange failed.
    noteStore().listNotebooks(token);
    service.inject("createNote", FakeFault::workThenDrop());
    EDAMNote note;
    note.__set_title("Call the plumber");
    EXPECT_EQ(raised<TTransportException>([&] { noteStore().createNote(token, note); }).reason(),
              QStringLiteral("Could not make HTTP request"));
    EXPECT_EQ(service.callCount("createNote"), 1);
    const std::vector<EDAMNote> notes = service.account("alice").notes();
    EXPECT_EQ(std::count_if(notes.begin(), notes.end(), [](const EDAMNote &n) { return n.title == "Call the plumber"; }),
              1);

    // Every call that changes something goes out on a fresh connection; reads use the open one.
    EDAMUserStoreClient users = TestClients::userStore(service.userStoreUrl());
    EDAMNotebook notebook;
    notebook.__set_name("Work");
    notebook = noteStore().createNotebook(token, notebook);
    noteStore().updateNotebook(token, notebook);
    EDAMTag tag;
    tag.__set_name("home");
    tag = noteStore().createTag(token, tag);
    noteStore().updateTag(token, tag);
    note.__set_notebookGuid(notebook.guid);
    note = noteStore().createNote(token, note);
    noteStore().updateNote(token, note);
    noteStore().getNoteContent(token, note.guid);
    noteStore().expungeNote(token, note.guid);
    noteStore().expungeTag(token, tag.guid);
    noteStore().expungeNotebook(token, notebook.guid);
    users.checkVersion("Kelvara", 1, 15);
    users.authenticate("alice", "correct horse", "kelvaraap", "0123456789abcdef");
    const QList<FakeRequest> requests = service.requests();
    const std::set<std::string> reads = {"listNotebooks", "getNoteContent", "checkVersion"};
    std::set<std::string> seen;
    for (const FakeRequest &request : requests.mid(2)) {
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
    const FakeFault faults[] = {FakeFault::httpStatus(500), FakeFault::dropConnection().times(2), FakeFault::truncatedReply(9),
                                FakeFault::replyBody("<html>" + QByteArray::fromStdString(token) + "</html>"),
                                FakeFault::applicationException(6, "internal")};
    for (const FakeFault &fault : faults) {
        service.inject("getNoteContent", fault);
        try {
            noteStore().getNoteContent(token, noteGuid());
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

namespace {

// A service on https with a certificate of its own, made for the test.
class ServiceTlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
#ifndef KELVARA_FAKE_SERVICE_TLS
        GTEST_SKIP() << "the fake service was built without TLS";
#endif
        const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
        if (openssl.isEmpty())
            GTEST_SKIP() << "openssl is not installed";
        QProcess generate;
        generate.start(openssl, QStringLiteral("req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 "
                                               "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1")
                                    .split(u' ')
                                    << QStringLiteral("-keyout") << dir.filePath(QStringLiteral("key.pem"))
                                    << QStringLiteral("-out") << certificate);
        ASSERT_TRUE(generate.waitForFinished(60000));
        ASSERT_EQ(generate.exitCode(), 0) << generate.readAllStandardError().toStdString();
        service.emplace(FakeService::Options{certificate, dir.filePath(QStringLiteral("key.pem"))});
        service->addAccount("alice", "pw");
        for (const char *variable : Variables)
            qunsetenv(variable);
    }
    void TearDown() override
    {
        for (const char *variable : Variables)
            qunsetenv(variable);
    }

    // The version check over https: nothing on failure, else the reason of the failure.
    std::optional<TTransportException> versionCheckFailure()
    {
        try {
            EXPECT_TRUE(TestClients::userStore(service->userStoreUrl()).checkVersion("Kelvara", 1, 15));
        } catch (const TTransportException &e) {
            return e;
        }
        return std::nullopt;
    }

    static constexpr const char *Variables[] = {"CURL_CA_BUNDLE", "SSL_CERT_FILE"};
    QTemporaryDir dir;
    QString certificate = dir.filePath(QStringLiteral("cert.pem"));
    std::optional<FakeService> service;
};

} // namespace

TEST_F(ServiceTlsTest, AnUntrustedCertificateIsRefused)
{
    const std::optional<TTransportException> failed = versionCheckFailure();
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->reason(), QStringLiteral("Could not make HTTP request"));
    EXPECT_TRUE(failed->userInfo().value(QStringLiteral("error")).toString().contains(QStringLiteral("certificate")))
        << failed->description().toStdString();
    EXPECT_TRUE(service->requests().isEmpty()) << "a request went out over the untrusted connection";
}

TEST_F(ServiceTlsTest, TheCertificatesNamedInTheEnvironmentAreTrusted)
{
    qputenv("SSL_CERT_FILE", certificate.toLocal8Bit());
    EXPECT_FALSE(versionCheckFailure());
    // CURL_CA_BUNDLE comes first, and replaces the trusted certificates rather than adding to them.
    qputenv("CURL_CA_BUNDLE", dir.filePath(QStringLiteral("missing.pem")).toLocal8Bit());
    EXPECT_TRUE(versionCheckFailure());
    qputenv("CURL_CA_BUNDLE", certificate.toLocal8Bit());
    qputenv("SSL_CERT_FILE", dir.filePath(QStringLiteral("missing.pem")).toLocal8Bit());
    EXPECT_FALSE(versionCheckFailure());
    EXPECT_EQ(service->callCount("checkVersion"), 2);
}
