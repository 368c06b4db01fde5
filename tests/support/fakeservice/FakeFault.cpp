#include "tests/support/fakeservice/FakeFault.h"

#include "tests/support/fakeservice/FakeAccount.h"

namespace {

FakeFault make(FakeFault::Kind kind, int32_t code = 0, const std::string &first = {},
               const std::string &second = {})
{
    FakeFault fault;
    fault.kind = kind;
    fault.code = code;
    fault.first = first;
    fault.second = second;
    return fault;
}

} // namespace

FakeFault FakeFault::delay(std::chrono::milliseconds delay)
{
    FakeFault fault = make(Kind::Delay);
    fault.wait = delay;
    return fault;
}

FakeFault FakeFault::userException(int32_t errorCode, const std::string &parameter)
{
    return make(Kind::UserException, errorCode, parameter);
}

FakeFault FakeFault::systemException(int32_t errorCode, const std::string &message)
{
    return make(Kind::SystemException, errorCode, message);
}

FakeFault FakeFault::rateLimit(int32_t seconds)
{
    FakeFault fault = make(Kind::SystemException, FakeAccount::RateLimitReached, "rate limit reached");
    fault.rateLimitDuration = seconds;
    return fault;
}

FakeFault FakeFault::notFoundException(const std::string &identifier, const std::string &key)
{
    return make(Kind::NotFoundException, 0, identifier, key);
}

FakeFault FakeFault::applicationException(int32_t type, const std::string &message)
{
    return make(Kind::ApplicationException, type, message);
}

FakeFault FakeFault::emptyResult()
{
    return make(Kind::EmptyResult);
}

FakeFault FakeFault::httpStatus(int status, const QByteArray &page)
{
    FakeFault fault = make(Kind::HttpStatus, status);
    fault.body = page.isEmpty() ? QByteArrayLiteral("<html><body><h1>Unavailable</h1></body></html>") : page;
    fault.contentType = QByteArrayLiteral("text/html");
    return fault;
}

FakeFault FakeFault::dropConnection()
{
    return make(Kind::DropConnection);
}

FakeFault FakeFault::workThenDrop()
{
    return make(Kind::WorkThenDrop);
}

FakeFault FakeFault::replyBody(const QByteArray &body, const QByteArray &contentType)
{
    FakeFault fault = make(Kind::ReplyBody);
    fault.body = body;
    fault.contentType = contentType;
    return fault;
}

FakeFault FakeFault::truncatedReply(int bytes)
{
    return make(Kind::TruncatedReply, bytes);
}

FakeFault FakeFault::cutConnection(int bytesSent)
{
    return make(Kind::CutConnection, bytesSent);
}

FakeFault &FakeFault::after(std::chrono::milliseconds delay)
{
    wait = delay;
    return *this;
}

FakeFault &FakeFault::times(int count)
{
    remaining = count;
    return *this;
}
