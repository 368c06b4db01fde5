#include "core/credentials/SharedData.h"

#include <QString>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(SharedDataTest, HoldsValuesAndNone)
{
    SharedData *shared = SharedData::sharedManager();
    shared->setUserName(QStringLiteral("zoë"));
    EXPECT_EQ(shared->userName(), QStringLiteral("zoë"));
    shared->setUserName(std::nullopt);
    EXPECT_EQ(shared->userName(), std::nullopt);

    // An empty password is a value, not "none".
    shared->setPassword(QString());
    ASSERT_TRUE(shared->password().has_value());
    EXPECT_TRUE(shared->password()->isEmpty());
    shared->setPassword(std::nullopt);
    EXPECT_EQ(shared->password(), std::nullopt);
}

TEST(SharedDataTest, ReadersOnOneThreadNeverSeeAHalfWrittenValue)
{
    // Long values so that a copy made without the lock has time to be torn.
    const QString one(4096, u'a');
    const QString two(8192, u'b');
    SharedData *shared = SharedData::sharedManager();
    shared->setUserName(one);
    shared->setPassword(two);

    std::atomic<bool> done{false};
    SharedData *seenByWriter = nullptr;
    std::thread writer([&] {
        seenByWriter = SharedData::sharedManager();
        // Fresh copies, so that every write frees the text the previous one held.
        for (int i = 0; i < 100000; ++i) {
            const QString &text = i % 2 ? one : two;
            const auto fresh = [&text] { return std::optional(QString(text.data(), text.size())); };
            shared->setUserName(i % 3 == 0 ? std::nullopt : fresh());
            shared->setPassword(i % 3 == 1 ? std::nullopt : fresh());
        }
        done = true;
    });

    int torn = 0;
    int reads = 0;
    while (!done || reads == 0) {
        for (const std::optional<QString> &value : {shared->userName(), shared->password()}) {
            if (value && *value != one && *value != two)
                ++torn;
        }
        ++reads;
    }
    writer.join();
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_EQ(seenByWriter, shared);
}
