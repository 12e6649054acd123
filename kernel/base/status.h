#pragma once

// Failures inside the library and how they reach the caller.
//
// The contract at the boundary: no exception leaves an exported function. Each reports failure by its
// documented result (false, -1, null, or an unchanged object). A failure the caller cannot see the reason
// of from that result alone - memory running out, an exception from the host application or from a
// library fault - is also reported once, as one message to the diagnostics sink
// (kernel/base/diagnostics.h), when the outermost guarded call of the thread returns.
//
// Inside, each thread keeps the failure that will be reported: the first one of kind NoMemory or
// Unexpected since its outermost guarded call began. Other kinds are the caller's to handle and are never
// reported.

#include <exception>
#include <new>
#include <optional>

#include "qor/kernel/base/export.h"

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
    Unexpected, // an exception other than std::bad_alloc: thrown by the host application or a library fault
};

/// True for the results a caller sees as success.
constexpr bool succeeded(Status s) noexcept {
    return s == Status::Ok || s == Status::NothingToDo;
}

/// A failure to report: its kind and a short text (UTF-8, cut to fit; empty when there is none).
struct Failure {
    static constexpr int kTextSize = 160;
    Status status = Status::Ok;
    char text[kTextSize] = {};
};

/// Every failure passes through here: one place for a breakpoint or a trace. A NoMemory or Unexpected
/// failure is kept as the thread's failure to report unless one is kept already; what (may be null) says
/// where or why. Returns why, so that `return fail(Status::BadInput);` reads naturally.
QOR_EXPORT Status fail(Status why, const char* what = nullptr) noexcept;

/// Keeps the exception being handled as the thread's failure to report: std::bad_alloc as NoMemory,
/// anything else as Unexpected with its what() text. Only inside a catch block; returns the status.
QOR_EXPORT Status failWithCurrentException() noexcept;

/// The kind of the thread's failure to report; Ok when there is none.
QOR_EXPORT Status pendingFailure() noexcept;

/// Keeps failure (taken on another thread) as this thread's failure to report, unless one is kept
/// already; a failure of a kind that is never reported is ignored.
QOR_EXPORT void adoptFailure(const Failure& failure) noexcept;

/// A stretch of work whose failures are collected rather than reported. While a scope is open, the
/// thread's failure to report is the first one inside that scope; when it closes, a failure kept before
/// it opened wins again, else the scope's own failure stays for the scope around it. guarded calls inside
/// a scope report nothing. A drawing thread opens one and hands what take() returns to the thread that
/// waits for it.
class QOR_EXPORT FailureScope {
public:
    FailureScope() noexcept;
    ~FailureScope();
    FailureScope(const FailureScope&) = delete;
    FailureScope& operator=(const FailureScope&) = delete;

    /// The kind of the failure kept inside this scope; Ok when none.
    Status status() const noexcept { return pendingFailure(); }
    /// The failure kept inside this scope (Ok when none); the scope keeps none afterwards.
    Failure take() noexcept;
    /// True when this is the thread's outermost scope.
    bool outermost() const noexcept { return m_outermost; }

private:
    bool m_outermost;
    /// What the thread kept when the scope opened, if anything: most scopes open with nothing kept and
    /// are opened per drawing call, so the empty case copies no text.
    std::optional<Failure> m_saved;
};

/// True inside an open scope that keeps no failure yet: a nested boundary would save, restore and report
/// nothing there.
QOR_EXPORT bool insideScopeWithNothingKept() noexcept;

/// The boundary of an exported function: a FailureScope that, when it is the thread's outermost, reports
/// the failure kept (if any) as one Error message to the diagnostics sink when it closes, prefixed with
/// where (may be null) as "where: ".
class QOR_EXPORT Boundary {
public:
    explicit Boundary(const char* where = nullptr) noexcept : m_where(where) {}
    ~Boundary();
    Boundary(const Boundary&) = delete;
    Boundary& operator=(const Boundary&) = delete;

private:
    FailureScope m_scope;
    const char* m_where;
};

/// Runs body and returns its result; an exception (allocation failure above all) becomes onError and is
/// reported as described at the top. This is the one place where exported functions contain what the
/// standard library or the host may throw. where names the function in the message.
template <class R, class F>
R guardedAt(const char* where, R onError, F&& body) noexcept {
    const auto run = [&]() noexcept -> R {
        try {
            return body();
        } catch (...) {
            failWithCurrentException();
        }
        return static_cast<R&&>(onError);
    };
    // Drawing calls nest by the million inside a renderer's scope: there the scope around keeps whatever
    // body fails with, and a boundary of their own would change nothing.
    if (insideScopeWithNothingKept()) return run();
    Boundary boundary(where);
    return run();
}

/// guardedAt without a name.
template <class R, class F>
R guarded(R onError, F&& body) noexcept {
    return guardedAt(nullptr, static_cast<R&&>(onError), static_cast<F&&>(body));
}

/// Runs body, which returns a Status; an exception becomes the matching failure status.
template <class F>
Status guarded(F&& body) noexcept {
    return guardedAt(nullptr, Status::Unexpected, [&]() -> Status {
        try {
            return body();
        } catch (...) {
            return failWithCurrentException();
        }
    });
}

} // namespace QOR::detail
