#pragma once

#include "tests/support/fakeservice/FakeAccount.h"

#include <QByteArray>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

// A misbehaviour of the fake service on a chosen call (see FakeService::inject). Each factory
// makes one kind; times() makes it hit more than one call.
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

    static FakeFault delay(std::chrono::milliseconds delay) { return {.kind = Kind::Delay, .wait = delay}; }
    static FakeFault userException(int32_t errorCode, const std::string &parameter) { return {.kind = Kind::UserException, .code = errorCode, .first = parameter}; }
    static FakeFault systemException(int32_t errorCode, const std::string &message) { return {.kind = Kind::SystemException, .code = errorCode, .first = message}; }
    // The system exception of a client that calls too often, with the seconds to wait.
    static FakeFault rateLimit(int32_t seconds)
    {
        return {.kind = Kind::SystemException, .code = FakeAccount::RateLimitReached, .first = "rate limit reached", .rateLimitDuration = seconds};
    }
    static FakeFault notFoundException(const std::string &identifier, const std::string &key) { return {.kind = Kind::NotFoundException, .first = identifier, .second = key}; }
    static FakeFault applicationException(int32_t type, const std::string &message) { return {.kind = Kind::ApplicationException, .code = type, .first = message}; }
    static FakeFault emptyResult() { return {.kind = Kind::EmptyResult}; }
    static FakeFault httpStatus(int status, const QByteArray &page = "<html><body><h1>Unavailable</h1></body></html>")
    {
        return {.kind = Kind::HttpStatus, .code = status, .body = page, .contentType = "text/html"};
    }
    static FakeFault dropConnection() { return {.kind = Kind::DropConnection}; }
    static FakeFault workThenDrop() { return {.kind = Kind::WorkThenDrop}; }
    static FakeFault replyBody(const QByteArray &body, const QByteArray &type = "application/x-thrift") { return {.kind = Kind::ReplyBody, .body = body, .contentType = type}; }
    static FakeFault truncatedReply(int bytes) { return {.kind = Kind::TruncatedReply, .code = bytes}; }
    static FakeFault cutConnection(int bytesSent) { return {.kind = Kind::CutConnection, .code = bytesSent}; }

    // The fault's text (parameter, message or identifier) is the body of the request it answers,
    // as a careless server or proxy repeats what it was sent: the password, the token and all.
    FakeFault &echoingRequest()
    {
        echoRequest = true;
        return *this;
    }
    // How many matching calls it hits (once unless told); 0 for every one until cleared. A
    // request libcurl sends again after a drop is one more call.
    FakeFault &times(int count)
    {
        remaining = count;
        return *this;
    }

    // Every member has an initializer, so a factory names only the ones its kind uses.
    Kind kind = Kind::Delay;
    int32_t code = 0;        // error code, application exception type, HTTP status, byte count
    std::string first{};     // parameter, message or identifier
    std::string second{};    // key
    std::optional<int32_t> rateLimitDuration{};
    QByteArray body{};
    QByteArray contentType{};
    std::chrono::milliseconds wait{0}; // the fake's stop cuts the wait short
    int remaining = 1;
    bool echoRequest = false;
};
