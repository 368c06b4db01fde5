#include "core/MainThread.h"
#include "core/OperationQueue.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <vector>

#include <gtest/gtest.h>

TEST(OperationQueueTest, RunsOneAtATimeInOrderOffTheMainThreadAndHopsBack)
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
            runOnMainThread([&, i] {
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
    ASSERT_EQ(order.size(), 20u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(order[size_t(i)], i);
}

TEST(OperationQueueTest, AnOperationThatThrowsDoesNotStopTheQueue)
{
    OperationQueue queue;
    bool ranAfter = false;
    queue.addOperation([] { throw std::runtime_error("refused"); });
    queue.addOperation([&] { ranAfter = true; });
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(ranAfter);
}
