#include "tests/support/fakeservice/FakeHttpFront.h"

#include "tests/support/fakeservice/FakeFault.h"
#include "tests/support/fakeservice/FakeNoteStoreHandler.h"
#include "tests/support/fakeservice/FakeService.h"
#include "tests/support/fakeservice/FakeUserStoreHandler.h"

#include <thrift/TApplicationException.h>
#include <thrift/protocol/TBinaryProtocol.h>
#include <thrift/transport/TBufferTransports.h>

using apache::thrift::protocol::TBinaryProtocol;
using apache::thrift::transport::TMemoryBuffer;
using apache::thrift::transport::TTransport;

namespace {

constexpr qsizetype LongestHead = 64 * 1024;
constexpr qsizetype LongestBody = 64 * 1024 * 1024;
const QByteArray Thrift = QByteArrayLiteral("application/x-thrift");

// The message name (empty when unreadable) and sequence id of a call, read the way the service would.
void readCallHeader(const QByteArray &body, std::string &name, int32_t &sequenceId)
{
    try {
        TBinaryProtocol protocol(std::make_shared<TMemoryBuffer>(reinterpret_cast<uint8_t *>(const_cast<char *>(body.constData())), uint32_t(body.size())));
        apache::thrift::protocol::TMessageType type;
        protocol.readMessageBegin(name, type, sequenceId);
    } catch (const std::exception &) {
        name.clear();
    }
}

} // namespace

bool FakeHttpFront::process(std::shared_ptr<apache::thrift::protocol::TProtocol> in,
                            std::shared_ptr<apache::thrift::protocol::TProtocol> out, void *connectionContext)
{
    auto *connection = static_cast<Connection *>(connectionContext);
    TTransport &input = *in->getTransport();
    TTransport &output = *out->getTransport();
    FakeRequest request;
    if (!readRequest(input, request))
        return false;
    request.indexOnConnection = connection->requests++;
    int32_t sequenceId = 0;
    readCallHeader(request.body, request.call, sequenceId);
    m_service.record(request);

    const std::shared_ptr<apache::thrift::TProcessor> processor = route(request.path);
    if (!processor) {
        answer(output, 404, "text/plain", "No such store");
        return true;
    }

    std::optional<FakeFault> fault = m_service.takeFault(request.call);
    if (fault && fault->echoRequest)
        fault->first = request.body.toStdString();
    if (fault && fault->wait.count() > 0 && !m_service.wait(fault->wait)) {
        output.close();
        return false;
    }
    using Kind = FakeFault::Kind;
    const Kind kind = fault ? fault->kind : Kind::Delay;
    switch (kind) {
    case Kind::DropConnection:
        output.close();
        return false;
    case Kind::HttpStatus:
        answer(output, fault->code, fault->contentType, fault->body);
        return true;
    case Kind::ReplyBody:
        answer(output, 200, fault->contentType, fault->body);
        return true;
    case Kind::UserException:
    case Kind::SystemException:
    case Kind::NotFoundException:
    case Kind::ApplicationException:
    case Kind::EmptyResult:
        answer(output, 200, Thrift, exceptionReply(request.call, sequenceId, *fault));
        return true;
    case Kind::Delay:
    case Kind::WorkThenDrop:
    case Kind::TruncatedReply:
    case Kind::CutConnection:
        break;
    }

    QByteArray reply;
    try {
        reply = dispatch(*processor, request.body);
    } catch (const std::exception &) {
        answer(output, 400, "text/plain", "Unreadable call");
        return true;
    }
    if (kind == Kind::TruncatedReply)
        reply = reply.left(fault->code);
    if (kind != Kind::WorkThenDrop)
        answer(output, 200, Thrift, kind == Kind::CutConnection ? reply.left(fault->code) : reply, reply.size());
    if (kind == Kind::WorkThenDrop || kind == Kind::CutConnection) {
        output.close();
        return false;
    }
    return true;
}

bool FakeHttpFront::readRequest(TTransport &input, FakeRequest &request)
{
    QByteArray head;
    char byte;
    while (!head.endsWith("\r\n\r\n")) {
        if (input.read(reinterpret_cast<uint8_t *>(&byte), 1) == 0)
            return false; // the client closed the connection
        head.append(byte);
        if (head.size() > LongestHead)
            return false;
    }
    const QList<QByteArray> lines = head.trimmed().split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length", "0").toLongLong();
    if (length < 0 || length > LongestBody)
        return false;
    request.body.resize(length);
    if (length > 0)
        input.readAll(reinterpret_cast<uint8_t *>(request.body.data()), uint32_t(length));
    return true;
}

std::shared_ptr<apache::thrift::TProcessor> FakeHttpFront::route(const QByteArray &path) const
{
    static const QByteArray notePrefix = QByteArrayLiteral("/edam/note/");
    if (path == "/edam/user")
        return std::make_shared<edam::UserStoreProcessor>(std::make_shared<FakeUserStoreHandler>(m_service));
    if (path.startsWith(notePrefix)) {
        const std::string shardId = path.mid(notePrefix.size()).toStdString();
        if (!shardId.empty() && m_service.hasShard(shardId))
            return std::make_shared<edam::NoteStoreProcessor>(
                std::make_shared<FakeNoteStoreHandler>(m_service, shardId));
    }
    return nullptr;
}

QByteArray FakeHttpFront::dispatch(apache::thrift::TProcessor &processor, const QByteArray &body)
{
    QByteArray copy = body;
    auto input = std::make_shared<TMemoryBuffer>(reinterpret_cast<uint8_t *>(copy.data()), uint32_t(copy.size()));
    auto output = std::make_shared<TMemoryBuffer>();
    // Replies in the versioned header, as the service writes them.
    auto in = std::make_shared<TBinaryProtocol>(input);
    auto out = std::make_shared<TBinaryProtocol>(output);
    processor.process(in, out, nullptr);
    return QByteArray::fromStdString(output->getBufferAsString());
}

QByteArray FakeHttpFront::exceptionReply(const std::string &call, int32_t sequenceId, const FakeFault &fault)
{
    using Kind = FakeFault::Kind;
    auto buffer = std::make_shared<TMemoryBuffer>();
    TBinaryProtocol protocol(buffer);
    if (fault.kind == Kind::ApplicationException) {
        protocol.writeMessageBegin(call, apache::thrift::protocol::T_EXCEPTION, sequenceId);
        apache::thrift::TApplicationException(
            static_cast<apache::thrift::TApplicationException::TApplicationExceptionType>(fault.code), fault.first)
            .write(&protocol);
    } else {
        protocol.writeMessageBegin(call, apache::thrift::protocol::T_REPLY, sequenceId);
        protocol.writeStructBegin("result");
        const auto field = [&](const char *name, int16_t id, const auto &exception) {
            protocol.writeFieldBegin(name, apache::thrift::protocol::T_STRUCT, id);
            exception.write(&protocol);
            protocol.writeFieldEnd();
        };
        if (fault.kind == Kind::UserException) {
            edam::EDAMUserException exception;
            exception.__set_errorCode(fault.code);
            exception.__set_parameter(fault.first);
            field("userException", 1, exception);
        } else if (fault.kind == Kind::SystemException) {
            edam::EDAMSystemException exception;
            exception.__set_errorCode(fault.code);
            exception.__set_message(fault.first);
            if (fault.rateLimitDuration)
                exception.__set_rateLimitDuration(*fault.rateLimitDuration);
            field("systemException", 2, exception);
        } else if (fault.kind == Kind::NotFoundException) {
            edam::EDAMNotFoundException exception;
            exception.__set_identifier(fault.first);
            exception.__set_key(fault.second);
            field("notFoundException", 3, exception);
        }
        protocol.writeFieldStop();
        protocol.writeStructEnd();
    }
    protocol.writeMessageEnd();
    return QByteArray::fromStdString(buffer->getBufferAsString());
}

void FakeHttpFront::answer(TTransport &output, int status, const QByteArray &contentType, const QByteArray &body,
                           qsizetype announcedLength)
{
    // Clients go by the status code; the reason phrase is only for people.
    const QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + (status == 200 ? " OK" : " Not OK")
                            + "\r\nContent-Type: " + contentType + "\r\nContent-Length: "
                            + QByteArray::number(announcedLength < 0 ? body.size() : announcedLength)
                            + "\r\n\r\n";
    output.write(reinterpret_cast<const uint8_t *>(head.constData()), uint32_t(head.size()));
    output.write(reinterpret_cast<const uint8_t *>(body.constData()), uint32_t(body.size()));
    output.flush();
}
