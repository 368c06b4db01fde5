#pragma once

#include <functional>

// The store context and every widget belong to the main thread. A worker reaches them only
// through runOnMainThread, which blocks until the main thread has run the function. Called on
// the main thread it runs the function at once. The main thread must be serving events (its
// own loop, or a local loop while it waits for the workers) for a hop to complete.
void runOnMainThread(const std::function<void()> &fn);
bool isMainThread();
