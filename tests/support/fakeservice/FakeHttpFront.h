#pragma once

#include <thrift/TProcessor.h>

#include <QByteArray>

#include <string>

class FakeService;
struct FakeFault;
struct FakeRequest;

namespace apache::thrift::transport {
class TTransport;
}

// The fake service's HTTP side, as libthrift's server sees it: a processor that reads one
// HTTP request from the connection, records it, routes it by path to the user store or a note
// store (the generated dispatchers over the fake's handlers), applies the fault injected for
// its call, and writes the answer. Returning false ends the connection.
class FakeHttpFront : public apache::thrift::TProcessor
{
public:
    struct Connection
    {
        int requests;
    };

    explicit FakeHttpFront(FakeService &service) : m_service(service) {}

    bool process(std::shared_ptr<apache::thrift::protocol::TProtocol> in,
                 std::shared_ptr<apache::thrift::protocol::TProtocol> out, void *connectionContext) override;

private:
    static bool readRequest(apache::thrift::transport::TTransport &input, FakeRequest &request);
    std::shared_ptr<apache::thrift::TProcessor> route(const QByteArray &path) const;
    static QByteArray dispatch(apache::thrift::TProcessor &processor, const QByteArray &body);
    static QByteArray exceptionReply(const std::string &call, int32_t sequenceId, const FakeFault &fault);
    static void answer(apache::thrift::transport::TTransport &output, int status, const QByteArray &contentType,
                       const QByteArray &body, qsizetype announcedLength = -1);

    FakeService &m_service;
};
