#pragma once

#include <QString>

class StoreStack;

// The store at the size of a long-kept personal task list: 50,000 tasks in 20 notebooks (the
// last one hidden) with 5 tags, due dates spread over thirty days either side of today, one in
// five without a due date, one in four completed. Written once per run with SQLite directly.
class LargeTaskStore
{
public:
    static constexpr int taskCount = 50'000;

    // The store's folder, written on first use.
    static const QString &folder();
    // One opened store shared by the benchmarks that work on a loaded store.
    static StoreStack &stack();

    LargeTaskStore() = delete;
};
