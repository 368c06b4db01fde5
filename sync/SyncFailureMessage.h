#pragma once

#include <QString>

#include <exception>

// What the user is told about an exception that ended a synchronisation run, in plain words:
// the service asking Kelvara to wait (and for how long), the service out of reach, or a failure
// on the service's side. Never the exception's own text beyond the transport's fixed reasons,
// so nothing the service sent back reaches the user unread.
class SyncFailureMessage
{
public:
    static QString forException(const std::exception_ptr &failure);

    SyncFailureMessage() = delete;

private:
    // "5 minutes", "1 minute", "45 seconds": whole minutes from a minute on, rounded up, so
    // that a run started after the wait is not refused again.
    static QString waitingTime(int seconds);
};
