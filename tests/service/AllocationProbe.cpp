#include "tests/service/AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> watching{false};
std::atomic<size_t> largestRequest{0};

void *allocate(size_t size)
{
    if (watching.load(std::memory_order_relaxed)) {
        size_t seen = largestRequest.load(std::memory_order_relaxed);
        while (size > seen && !largestRequest.compare_exchange_weak(seen, size))
            ;
    }
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

} // namespace

void *operator new(size_t size)
{
    return allocate(size);
}

void *operator new[](size_t size)
{
    return allocate(size);
}

void operator delete(void *p) noexcept
{
    std::free(p);
}

void operator delete[](void *p) noexcept
{
    std::free(p);
}

void operator delete(void *p, size_t) noexcept
{
    std::free(p);
}

void operator delete[](void *p, size_t) noexcept
{
    std::free(p);
}

AllocationProbe::AllocationProbe()
{
    largestRequest = 0;
    watching = true;
}

AllocationProbe::~AllocationProbe()
{
    watching = false;
}

size_t AllocationProbe::largest()
{
    return largestRequest;
}
