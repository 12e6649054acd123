#pragma once

// Internal result codes of the platform layer. Public functions turn them into GDI's results (BOOL,
// CLR_INVALID, null pointers); inside, a failure keeps its reason.

#include <new>

namespace QOR::detail {

enum class Status {
    Ok,
    NothingToDo, // valid call that changes nothing (everything clipped away, empty shape)
    Unsupported, // the backend cannot do this (GetPixel on a metafile, a bitmap in a metafile DC)
    BadInput,    // invalid argument: the call changes nothing
    TooLarge,    // a size whose bytes would not fit
    NoMemory,
};

/// Every failure of the platform layer passes through here: one place for a breakpoint or a trace.
/// Returns its argument.
Status fail(Status status) noexcept;

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
