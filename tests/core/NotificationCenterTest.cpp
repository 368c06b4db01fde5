#include "core/NotificationCenter.h"

#include <QThread>

#include <gtest/gtest.h>

TEST(NotificationCenterTest, DeliversByNameAndSenderWithUserInfo)
{
    NotificationCenter center;
    int a = 0, b = 0;
    QVariantMap seen;
    const int sender = 0, other = 0;
    center.addObserver(&a, QStringLiteral("tasksCountChanged"), [&](const Notification &n) {
        ++a;
        seen = n.userInfo;
    });
    center.addObserver(&b, QStringLiteral("tasksCountChanged"), [&](const Notification &) { ++b; }, &sender);

    center.post(QStringLiteral("tasksCountChanged"), &other, {{QStringLiteral("arrayCount"), 3}});
    center.post(QStringLiteral("tasksCountChanged"), &sender);
    center.post(QStringLiteral("somethingElse"), &sender);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1) << "a sender filter lets only that sender through";
    EXPECT_TRUE(seen.isEmpty());

    center.removeObserver(&a);
    center.post(QStringLiteral("tasksCountChanged"), &sender);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 2);
}

TEST(NotificationCenterTest, ObserversRemovedOrAddedDuringDeliveryAreSafe)
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
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0) << "an observer removed during delivery is not called";
    EXPECT_EQ(added, 0) << "an observer added during delivery waits for the next post";
    center.post(QStringLiteral("n"));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(added, 1);
}

TEST(NotificationCenterTest, PostingFromAWorkerDeliversOnThatWorker)
{
    NotificationCenter center;
    QThread *deliveredOn = nullptr;
    center.addObserver(nullptr, QStringLiteral("hideSyncStatus"),
                       [&](const Notification &) { deliveredOn = QThread::currentThread(); });
    QThread *worker = QThread::create([&] { center.post(QStringLiteral("hideSyncStatus")); });
    worker->start();
    worker->wait();
    EXPECT_EQ(deliveredOn, worker);
    delete worker;
}
