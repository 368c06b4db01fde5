#pragma once

#include <QByteArray>
#include <QMap>

#include <string>

// One HTTP request as the fake service received it.
struct FakeRequest
{
    std::string call;                     // the Thrift message name, empty when unreadable
    QByteArray method;
    QByteArray path;
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
    int indexOnConnection = 0;            // 0 for the first request of its connection
};
