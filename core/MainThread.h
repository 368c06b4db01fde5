#pragma once

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

class QObject;

// The store context and every widget belong to the main thread: the thread that created the
// application object (or, before there is one, the thread that started the process). It stays
// the main thread after the application object is gone, so a worker never mistakes itself for it.
bool isMainThread();

// True on the main thread while it runs a worker's blocking call: the worker is parked until the
// call returns, so nothing in it may wait for that worker (or for the user).
bool isServingBlockingCall();

// Fire and forget: `fn` runs later on the main thread's event loop, also when posted from the main
// thread itself. With a `context` (an object of the main thread), it is dropped if the context is
// destroyed first. What `fn` throws is logged there; it never reaches the event loop. Without an
// application there is no loop to run it: it is dropped with a log line.
void postToMainThread(std::function<void()> fn, QObject *context = nullptr);

// The longest time the main thread spent running one worker's blocking call since the last ask,
// and the start of the next period: how long the user's input could have waited behind a single
// hop. Every call is timed (two clock reads), so this is always on; any thread may ask.
std::chrono::nanoseconds takeLongestBlockingCall();

namespace MainThreadDetail {
// Runs `call` on the main thread and waits for it; on the main thread it runs at once. What the
// call threw is rethrown to the caller. Off the main thread without an application, or when the
// main thread drops the call unrun, it throws std::logic_error instead of running anywhere else.
void blockingCall(const std::function<void()> &call);
} // namespace MainThreadDetail

// The one way a worker reaches the store: runs `fn` on the main thread, blocks until it has run
// and returns its value (or rethrows on the caller what it threw), so that a failure inside the
// hop ends the operation that made it. On the main thread it calls `fn` at once. The main thread
// must be serving events (its own loop, or a local loop while it waits for the workers).
template <typename F>
std::invoke_result_t<F &> blockingCallOnMainThread(F &&fn)
{
    using Result = std::invoke_result_t<F &>;
    if constexpr (std::is_void_v<Result>) {
        MainThreadDetail::blockingCall([&fn] { fn(); });
    } else if constexpr (std::is_reference_v<Result>) {
        std::remove_reference_t<Result> *result = nullptr;
        MainThreadDetail::blockingCall([&] { result = std::addressof(fn()); });
        return static_cast<Result>(*result);
    } else {
        std::optional<Result> result;
        MainThreadDetail::blockingCall([&] { result.emplace(fn()); });
        return std::move(*result);
    }
}
