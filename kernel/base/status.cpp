#include "qor/kernel/base/status.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "qor/kernel/base/diagnostics.h"

namespace QOR::detail {

namespace {

/// The failure a thread will report and how many scopes it has open.
struct ThreadFailures {
    Failure kept;
    int depth = 0;
};

thread_local ThreadFailures t_failures;

bool reportable(Status s) noexcept {
    return s == Status::NoMemory || s == Status::Unexpected;
}

/// Copies the parts into out, cut to fit, always terminated.
void compose(char* out, std::size_t size, std::initializer_list<std::string_view> parts) noexcept {
    std::size_t at = 0;
    for (const std::string_view part : parts) {
        const std::size_t n = std::min(part.size(), size - 1 - at);
        std::memcpy(out + at, part.data(), n);
        at += n;
    }
    out[at] = '\0';
}

std::string_view orEmpty(const char* s) noexcept {
    return s ? std::string_view(s) : std::string_view();
}

void keep(Status why, std::string_view text) noexcept {
    Failure& kept = t_failures.kept;
    if (!reportable(why) || reportable(kept.status)) return;
    kept.status = why;
    compose(kept.text, sizeof kept.text, {text});
}

} // namespace

Status fail(Status why, const char* what) noexcept {
    if (why == Status::NoMemory) {
        keep(why, what ? std::string_view(what) : std::string_view("out of memory"));
    } else {
        keep(why, orEmpty(what));
    }
    return why;
}

Status failWithCurrentException() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return fail(Status::NoMemory);
    } catch (const std::exception& e) {
        char text[Failure::kTextSize];
        compose(text, sizeof text, {"exception: ", orEmpty(e.what())});
        return fail(Status::Unexpected, text);
    } catch (...) {
        return fail(Status::Unexpected, "exception of unknown type");
    }
}

bool insideScopeWithNothingKept() noexcept {
    const ThreadFailures& failures = t_failures;
    return failures.depth > 0 && failures.kept.status == Status::Ok;
}

Status pendingFailure() noexcept {
    return t_failures.kept.status;
}

void adoptFailure(const Failure& failure) noexcept {
    keep(failure.status, failure.text);
}

FailureScope::FailureScope() noexcept : m_outermost(t_failures.depth == 0) {
    ++t_failures.depth;
    // Outside every scope a failure has no one to report it: the outermost scope starts afresh.
    if (!m_outermost && t_failures.kept.status != Status::Ok) m_saved.emplace(t_failures.kept);
    t_failures.kept.status = Status::Ok;
}

FailureScope::~FailureScope() {
    --t_failures.depth;
    if (m_saved) t_failures.kept = *m_saved; // the first failure wins
}

Failure FailureScope::take() noexcept {
    const Failure taken = t_failures.kept;
    t_failures.kept = Failure{};
    return taken;
}

Boundary::~Boundary() {
    if (!m_scope.outermost() || !reportable(pendingFailure())) return;
    const Failure failure = m_scope.take();
    char message[Failure::kTextSize + 64];
    if (m_where) {
        compose(message, sizeof message, {m_where, ": ", failure.text});
    } else {
        compose(message, sizeof message, {failure.text});
    }
    reportDiagnostic(DiagnosticLevel::Error, message);
}

} // namespace QOR::detail
