#pragma once

#include <chrono>
#include <functional>

typedef struct _GCancellable GCancellable;

// Runs one blocking Secret Service operation on a thread of its own and waits for it.
//
// An operation may open the desktop's unlock prompt and then wait for the user. Waiting on the
// main thread serves its events meanwhile (repaints, timers, the workers' hops to the main
// thread; user input is held back until the call returns, so no second keychain call can start
// inside the first), and once the time limit has passed the operation's cancellable is
// cancelled: libsecret then dismisses the prompt and fails the call with G_IO_ERROR_CANCELLED,
// which the operation reports like any other failure.
class SecretCall
{
public:
    using Operation = std::function<void(GCancellable *cancellable)>;

    // How long an unanswered prompt is waited for.
    static constexpr std::chrono::milliseconds promptTimeLimit = std::chrono::minutes(2);

    // Returns when the operation has returned.
    static void run(const Operation &operation,
                    std::chrono::milliseconds timeLimit = promptTimeLimit);

    SecretCall() = delete;
};
