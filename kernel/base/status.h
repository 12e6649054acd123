#pragma once

#include <exception>
#include <new>

namespace QOR::detail {

/// Why an internal operation failed. Exported functions turn it into their documented result (false, -1,
/// null); it never crosses the library boundary.
enum class Status {
    Ok,
    NothingToDo, // a valid call that changes nothing (everything clipped away, an empty shape)
    Unsupported, // the target cannot do this (GetPixel on a metafile)
    BadInput,    // an invalid argument: the call changes nothing
    TooLarge,    // a size whose bytes would not fit
    NoMemory,
};

/// True for the results a caller sees as success.
constexpr bool succeeded(Status s) noexcept {
    return s == Status::Ok || s == Status::NothingToDo;
}

/// Every failure passes through here: one place for a breakpoint or a trace. Returns its argument so
/// that `return fail(Status::BadInput);` reads naturally.
Status fail(Status why) noexcept;

/// Runs body and returns its result; an exception (allocation failure above all) becomes onError. This
/// is the one place where exported functions contain what the standard library may throw.
template <class R, class F>
R guarded(R onError, F&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        fail(Status::NoMemory);
    } catch (...) {
        fail(Status::BadInput);
    }
    return onError;
}

/// Runs body, which returns a Status; an exception becomes the matching failure status.
template <class F>
Status guarded(F&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return fail(Status::NoMemory);
    } catch (...) {
        return fail(Status::BadInput);
    }
}

} // namespace QOR::detail
