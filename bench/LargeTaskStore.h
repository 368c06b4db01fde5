#pragma once

#include <QString>

class StoreStack;

// The store at the size of a long-kept personal task list: 50,000 tasks with due dates spread
// over thirty days either side of today, one in five without a due date, one in four completed,
// every third with notes, half of them tagged. Written once per run with SQLite directly.
class LargeTaskStore
{
public:
    static constexpr int taskCount = 50'000;

    // 20 notebooks (the last one hidden) and 5 tags: the store the piece-by-piece benchmarks use.
    static const QString &folder();
    // 50 notebooks (the last one hidden) and 200 tags, some tasks carrying two: the store the
    // benchmarks of the whole window open.
    static const QString &windowFolder();
    // One opened store (folder()) shared by the benchmarks that work on a loaded store.
    static StoreStack &stack();

    LargeTaskStore() = delete;
};
