#pragma once

#include <QByteArray>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

// A misbehaviour of the fake service on a chosen call (see FakeService::inject). Each factory
// makes one kind; after() makes any of them come late, times() makes it hit more than one call.
//
//     service.inject("createTag", FakeFault::userException(10, "Tag.name"));
//     service.inject("getNoteContent", FakeFault::httpStatus(503).times(2));
//     service.inject("authenticate", FakeFault::delay(std::chrono::seconds(3)));
struct FakeFault
{
    enum class Kind {
        Delay,                // answers normally, late
        UserException,        // the call is refused with the service exception, nothing changes
        SystemException,
        NotFoundException,
        ApplicationException, // an exception message instead of a reply
        EmptyResult,          // a reply with neither result nor exception
        HttpStatus,           // an HTTP answer other than 200, with a text page
        DropConnection,       // the connection closes without an answer, nothing done
        WorkThenDrop,         // the call is done, then the connection closes without an answer
        ReplyBody,            // this body instead of the reply, with status 200
        TruncatedReply,       // the real reply cut to its first bytes, announced at that length
        CutConnection,        // the real reply announced whole, then the connection closes early
    };

    static FakeFault delay(std::chrono::milliseconds delay);
    static FakeFault userException(int32_t errorCode, const std::string &parameter);
    static FakeFault systemException(int32_t errorCode, const std::string &message);
    // The system exception of a client that calls too often: code 19 with the seconds to wait.
    static FakeFault rateLimit(int32_t seconds);
    static FakeFault notFoundException(const std::string &identifier, const std::string &key);
    static FakeFault applicationException(int32_t type, const std::string &message);
    static FakeFault emptyResult();
    static FakeFault httpStatus(int status, const QByteArray &page = {});
    static FakeFault dropConnection();
    static FakeFault workThenDrop();
    static FakeFault replyBody(const QByteArray &body,
                               const QByteArray &contentType = QByteArrayLiteral("application/x-thrift"));
    static FakeFault truncatedReply(int bytes);
    static FakeFault cutConnection(int bytesSent);

    // The answer waits this long first (the fake's stop cuts the wait short).
    FakeFault &after(std::chrono::milliseconds wait);
    // How many matching calls it hits (once unless told); 0 for every one until cleared. A
    // request libcurl sends again after a drop is one more call.
    FakeFault &times(int count);

    Kind kind = Kind::Delay;
    std::chrono::milliseconds wait{0};
    int remaining = 1;
    int32_t code = 0;      // error code, application exception type, HTTP status, byte count
    std::string first;     // parameter, message or identifier
    std::string second;    // key
    std::optional<int32_t> rateLimitDuration;
    QByteArray body;
    QByteArray contentType;
};
