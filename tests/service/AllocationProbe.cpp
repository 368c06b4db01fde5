#include "tests/service/AllocationProbe.h"

#include <malloc.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> watching{false};
std::atomic<size_t> largestRequest{0};

// The watching thread's own accounts; other threads leave them alone.
thread_local bool watchingThread = false;
thread_local size_t failAboveHere = 0;
thread_local int64_t heldHere = 0;
thread_local int64_t peakHere = 0;

void *allocate(size_t size)
{
    if (watching.load(std::memory_order_relaxed)) {
        size_t seen = largestRequest.load(std::memory_order_relaxed);
        while (size > seen && !largestRequest.compare_exchange_weak(seen, size))
            ;
    }
    if (watchingThread && failAboveHere > 0 && size > failAboveHere)
        throw std::bad_alloc();
    void *p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    if (watchingThread) {
        heldHere += int64_t(malloc_usable_size(p));
        if (heldHere > peakHere)
            peakHere = heldHere;
    }
    return p;
}

void release(void *p) noexcept
{
    if (p && watchingThread)
        heldHere -= int64_t(malloc_usable_size(p));
    std::free(p);
}

} // namespace

void *operator new(size_t size) { return allocate(size); }
void *operator new[](size_t size) { return allocate(size); }
void operator delete(void *p) noexcept { release(p); }
void operator delete[](void *p) noexcept { release(p); }
void operator delete(void *p, size_t) noexcept { release(p); }
void operator delete[](void *p, size_t) noexcept { release(p); }

AllocationProbe::AllocationProbe(size_t failAbove)
{
    largestRequest = 0;
    heldHere = 0;
    peakHere = 0;
    failAboveHere = failAbove;
    watchingThread = true;
    watching = true;
}

AllocationProbe::~AllocationProbe()
{
    watching = false;
    watchingThread = false;
    failAboveHere = 0;
}

size_t AllocationProbe::largest() { return largestRequest; }
size_t AllocationProbe::peak() { return size_t(peakHere); }
