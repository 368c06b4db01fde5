#pragma once

#include <cstddef>

// Watches the sizes asked of operator new in this test program, so a test can tell that a
// hostile length was refused before anything was allocated for it, not after.
class AllocationProbe
{
public:
    AllocationProbe();  // starts watching from zero
    ~AllocationProbe(); // stops

    static size_t largest();

    AllocationProbe(const AllocationProbe &) = delete;
    AllocationProbe &operator=(const AllocationProbe &) = delete;
};
