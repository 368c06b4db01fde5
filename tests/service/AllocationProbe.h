#pragma once

#include <cstddef>

// Watches operator new in this test program, so a test can tell that a hostile length was
// refused before anything was allocated for it, and how much memory a call really took.
//
// largest() is the largest single request from any thread. peak() is the most memory the
// watching thread held at once beyond what it held when the probe started (a client call runs
// on its caller's thread, the fake service on its own). With a limit, requests above it made
// on the watching thread fail with std::bad_alloc, as they would on a machine out of memory.
class AllocationProbe
{
public:
    explicit AllocationProbe(size_t failAbove = 0); // starts watching from zero
    ~AllocationProbe();                             // stops

    static size_t largest();
    static size_t peak();

    AllocationProbe(const AllocationProbe &) = delete;
    AllocationProbe &operator=(const AllocationProbe &) = delete;
};
