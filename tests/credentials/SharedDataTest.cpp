#include "core/credentials/SharedData.h"

#include <QString>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// Readers on one thread never see a half-written value, and an empty password stays a value.
TEST(SharedDataTest, ReadersOnOneThreadNeverSeeAHalfWrittenValue)
{
    SharedData *shared = SharedData::sharedManager();
    shared->setPassword(QString());
    EXPECT_TRUE(shared->password().has_value() && shared->password()->isEmpty()) << "empty is not none";

    // Long values so that a copy made without the lock has time to be torn.
    const QString one(4096, u'a');
    const QString two(8192, u'b');
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
    int torn = 0, reads = 0;
    for (; !done || reads == 0; ++reads) {
        for (const std::optional<QString> &value : {shared->userName(), shared->password()})
            torn += value && *value != one && *value != two ? 1 : 0;
    }
    writer.join();
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_EQ(seenByWriter, shared);
    EXPECT_EQ(shared->password(), std::optional(one)) << "the last write is the value";
}
