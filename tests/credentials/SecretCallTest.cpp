#include "core/credentials/SecretCall.h"

#include <QTimer>

#include <gtest/gtest.h>

#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <atomic>
#include <thread>

using namespace std::chrono_literals;

namespace {

// Stands for an unlock prompt nobody answers: it returns only once it is cancelled.
void waitUntilCancelled(GCancellable *cancellable, std::atomic<bool> &sawCancel)
{
    GPollFD poll{};
    if (g_cancellable_make_pollfd(cancellable, &poll)) {
        while (!g_cancellable_is_cancelled(cancellable))
            g_poll(&poll, 1, -1);
        g_cancellable_release_fd(cancellable);
    }
    sawCancel = g_cancellable_is_cancelled(cancellable);
}

} // namespace

TEST(SecretCallTest, TheMainThreadServesEventsUntilAnUnansweredPromptIsGivenUp)
{
    int ticks = 0;
    QTimer repaint;
    repaint.setInterval(10);
    QObject::connect(&repaint, &QTimer::timeout, [&ticks] { ++ticks; });
    repaint.start();

    std::atomic<bool> sawCancel{false};
    SecretCall::run([&](GCancellable *c) { waitUntilCancelled(c, sawCancel); }, 300ms);
    EXPECT_TRUE(sawCancel);
    EXPECT_GT(ticks, 0) << "the main thread was blocked while waiting";

    // An answer before the time limit is taken as it is.
    bool cancelled = true;
    SecretCall::run([&](GCancellable *c) { cancelled = g_cancellable_is_cancelled(c); });
    EXPECT_FALSE(cancelled);

    // A worker thread gives up at the time limit too.
    sawCancel = false;
    std::thread([&] { SecretCall::run([&](GCancellable *c) { waitUntilCancelled(c, sawCancel); }, 200ms); }).join();
    EXPECT_TRUE(sawCancel);
}
