#include "core/MainThread.h"
#include "core/OperationQueue.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

TEST(OperationQueueTest, RunsOneAtATimeInOrderOffTheMainThreadHopsBackAndIsWaitedForWhileRunning)
{
    OperationQueue queue;
    std::vector<int> order;
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    QThread *mainThread = QThread::currentThread();
    bool hopRanOnMain = true;

    for (int i = 0; i < 20; ++i) {
        queue.addOperation([&, i] {
            if (running.fetch_add(1) != 0)
                overlapped = true;
            EXPECT_NE(QThread::currentThread(), mainThread);
            // The store is touched only on the main thread.
            blockingCallOnMainThread([&, i] {
                hopRanOnMain = hopRanOnMain && QThread::currentThread() == mainThread;
                order.push_back(i);
            });
            running.fetch_sub(1);
        });
    }
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(queue.operationCount(), 0);
    EXPECT_FALSE(overlapped);
    EXPECT_TRUE(hopRanOnMain);
    std::vector<int> inOrder(20);
    std::iota(inOrder.begin(), inOrder.end(), 0);
    EXPECT_EQ(order, inOrder);

    // The quit saves after this wait: an operation that has left the queue but not finished must
    // still be waited for, or its last store writes land after the save.
    std::atomic<bool> started{false};
    bool finished = false;
    queue.addOperation([&] {
        started = true;
        blockingCallOnMainThread([&] { finished = true; });
    });
    while (!started)
        std::this_thread::yield();
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(finished);
}

TEST(OperationQueueTest, AHopReturnsItsValueAndRethrowsOnTheWorkerWhatItThrew)
{
    OperationQueue queue;
    QString value;
    std::string caught;
    bool wentOnAsIfSaved = false, laterHopRan = false, ranAfter = false;
    queue.addOperation([&] {
        value = blockingCallOnMainThread([] { return QStringLiteral("chunkHighUSN 42"); });
        try {
            blockingCallOnMainThread([] { throw std::runtime_error("the store refused the save"); });
            wentOnAsIfSaved = true;
        } catch (const std::runtime_error &e) {
            caught = e.what();
        }
        // The main thread's loop survived the failure and serves the next hop.
        laterHopRan = blockingCallOnMainThread([] { return isMainThread(); });
        // Uncaught, it ends this operation only.
        blockingCallOnMainThread([] { throw std::runtime_error("ends the run"); });
    });
    queue.addOperation([&] { ranAfter = true; });
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(value, QStringLiteral("chunkHighUSN 42"));
    EXPECT_EQ(caught, "the store refused the save");
    EXPECT_TRUE(!wentOnAsIfSaved && laterHopRan && ranAfter);
}

TEST(OperationQueueTest, WaitsThatWouldWaitForThemselvesAreRefusedInsteadOfHanging)
{
#ifndef QT_NO_DEBUG
    GTEST_SKIP() << "debug builds stop at the assertion";
#endif
    OperationQueue queue;
    std::vector<std::string> refusals;
    queue.addOperation([&] {
        const auto refused = [&](const std::function<void()> &wait) {
            try { wait(); } catch (const std::logic_error &e) { refusals.push_back(e.what()); }
        };
        refused([&] { queue.waitUntilAllOperationsAreFinished(); });
        // The main thread, inside this worker's hop, would wait for the parked worker.
        refused([&] { blockingCallOnMainThread([&] { queue.waitUntilAllOperationsAreFinished(); }); });
    });
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(refusals.size(), 2u);
}

namespace {
// As at the end of main(): the application object is gone while a worker still runs. The process
// ends here, so the object main() made is not destroyed twice.
[[noreturn]] void hopAfterTheApplicationIsGone()
{
    QCoreApplication::instance()->~QCoreApplication();
    bool workerIsMain = true, ranOnWorker = false, refused = false;
    std::thread([&] {
        workerIsMain = isMainThread();
        try {
            blockingCallOnMainThread([&] { ranOnWorker = true; });
        } catch (const std::logic_error &) {
            refused = true;
        }
    }).join();
    std::fprintf(stderr, "main %d, worker is main %d, ran on worker %d, refused %d\n", isMainThread(), workerIsMain,
                 ranOnWorker, refused);
    std::_Exit(isMainThread() && !workerIsMain && !ranOnWorker && refused ? 0 : 1);
}
} // namespace

TEST(OperationQueueTest, AfterTheApplicationIsGoneAWorkerIsNotTheMainThreadAndItsHopIsRefused)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(hopAfterTheApplicationIsGone(), testing::ExitedWithCode(0), "");
}
