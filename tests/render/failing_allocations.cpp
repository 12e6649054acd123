// The replaced global operator new of this test program (see failing_allocations.h). Unarmed it is malloc.
#include "failing_allocations.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_armed{false};
std::atomic<long> g_left{0};
std::atomic<bool> g_failed{false};
thread_local bool t_exempt = false;

void* allocate(std::size_t size) {
    if (g_armed.load(std::memory_order_relaxed) && !t_exempt && g_left.fetch_sub(1) <= 0) {
        g_failed = true;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

} // namespace

namespace failing_allocations {

void arm(long allowed, bool otherThreadsOnly) noexcept {
    t_exempt = otherThreadsOnly;
    g_left = allowed;
    g_failed = false;
    g_armed = true;
}

bool disarm() noexcept {
    g_armed = false;
    t_exempt = false;
    return g_failed;
}

} // namespace failing_allocations

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
// The nothrow forms too, so that every plain allocation comes from here and is freed here (a sanitizer
// that tracks new against free would see a mismatch otherwise).
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
