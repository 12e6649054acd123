#pragma once

// Internal result codes of the platform layer: the kernel's Status (kernel/status.h). Public functions
// turn them into GDI's results (BOOL, CLR_INVALID, null pointers); inside, a failure keeps its reason.

#include <new>

#include "kernel/status.h"

namespace QOR::detail {

/// True for the results a caller sees as success.
constexpr bool succeeded(Status s) noexcept {
    return s == Status::Ok || s == Status::NothingToDo;
}

/// Runs f (which returns a Status) with allocation failure turned into Status::NoMemory, so that no
/// exception leaves an exported function.
template <class F>
Status guarded(F&& f) noexcept {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return fail(Status::NoMemory);
    } catch (...) {
        return fail(Status::BadInput);
    }
}

} // namespace QOR::detail
