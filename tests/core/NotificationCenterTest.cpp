#include "core/NotificationCenter.h"

#include <QCoreApplication>
#include <QThread>

#include <memory>
#include <tuple>

#include <gtest/gtest.h>

TEST(NotificationCenterTest, ObserversMayBeRemovedOrAddedDuringDelivery)
{
    NotificationCenter center;
    int first = 0, second = 0, added = 0;
    NotificationCenter::ObserverId secondId = 0;
    center.addObserver(&first, QStringLiteral("n"), [&](const Notification &) {
        ++first;
        center.removeObserver(secondId); // removes the next observer mid-delivery
        center.addObserver(&added, QStringLiteral("n"), [&](const Notification &) { ++added; });
        center.removeObserver(&first);   // and itself
    });
    secondId = center.addObserver(&second, QStringLiteral("n"), [&](const Notification &) { ++second; });

    center.post(QStringLiteral("n"));
    // An observer removed during delivery is not called; one added waits for the next post.
    EXPECT_EQ(std::tuple(first, second, added), std::tuple(1, 0, 0));
    center.post(QStringLiteral("n"));
    EXPECT_EQ(std::tuple(first, second, added), std::tuple(1, 0, 1));
}

TEST(NotificationCenterTest, AWorkersPostReachesObserversOnTheMainThreadUnlessTheyAskForTheWorker)
{
    NotificationCenter center;
    QThread *mainThread = QThread::currentThread();
    QList<QThread *> viewCalledOn;
    QVariantMap seen;
    QThread *workerObserverCalledOn = nullptr;
    int view = 0, goneView = 0, goneViewCalls = 0, onWorker = 0;
    center.addObserver(&view, QStringLiteral("hideSyncStatus"), [&](const Notification &n) {
        viewCalledOn << QThread::currentThread();
        seen = n.userInfo;
    });
    center.addObserver(&goneView, QStringLiteral("hideSyncStatus"), [&](const Notification &) { ++goneViewCalls; });
    center.addObserver(&onWorker, QStringLiteral("hideSyncStatus"), [&](const Notification &) { workerObserverCalledOn = QThread::currentThread(); },
                       nullptr, NotificationCenter::Delivery::PostingThread);

    std::unique_ptr<QThread> worker(QThread::create([&] { center.post(QStringLiteral("hideSyncStatus"), nullptr, {{QStringLiteral("success"), true}}); }));
    worker->start();
    worker->wait();
    EXPECT_EQ(workerObserverCalledOn, worker.get());
    EXPECT_TRUE(viewCalledOn.isEmpty()) << "not on the worker, and queued rather than waited for";
    center.removeObserver(&goneView); // its owner goes before the queued delivery runs
    QCoreApplication::processEvents();
    EXPECT_EQ(viewCalledOn, QList<QThread *>{mainThread});
    EXPECT_EQ(seen.value(QStringLiteral("success")), QVariant(true));
    EXPECT_EQ(goneViewCalls, 0);
}
