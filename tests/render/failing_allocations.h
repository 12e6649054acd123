#pragma once

// Allocation failure on demand: this test program replaces the global operator new (failing_allocations.cpp)
// with one that, while armed, throws std::bad_alloc once a number of allocations have been made, and for
// every allocation after that, as a system with no memory left would.

namespace failing_allocations {

/// From now on the first `allowed` allocations succeed and every later one throws. With otherThreadsOnly,
/// the calling thread allocates as usual and only the other threads count and fail.
void arm(long allowed, bool otherThreadsOnly = false) noexcept;
/// Allocations succeed again. True when at least one failed since arm().
bool disarm() noexcept;

/// Arms on construction, disarms at the end of the scope (also when a test assertion returns early).
class Armed {
public:
    explicit Armed(long allowed, bool otherThreadsOnly = false) noexcept { arm(allowed, otherThreadsOnly); }
    ~Armed() { disarm(); }
    Armed(const Armed&) = delete;
    Armed& operator=(const Armed&) = delete;
};

} // namespace failing_allocations
