#include "qor/kernel/base/diagnostics.h"

#include <cstdio>
#include <mutex>

namespace QOR {

namespace {

/// The installed sink. A recursive mutex, so that a sink may replace itself; a message the sink reports
/// itself is dropped (it would be passed to the sink that is still busy with the first one).
struct SinkSlot {
    std::recursive_mutex mutex;
    DiagnosticReceiver receiver{stderrDiagnosticSink, nullptr};
    bool busy = false;
};

SinkSlot& slot() noexcept {
    static SinkSlot s;
    return s;
}

} // namespace

void stderrDiagnosticSink(void*, DiagnosticLevel, const char* utf8Message) noexcept {
    std::fprintf(stderr, "qor: %s\n", utf8Message ? utf8Message : "");
}

DiagnosticReceiver setDiagnosticSink(DiagnosticSink sink, void* context) noexcept {
    SinkSlot& s = slot();
    const std::lock_guard lock(s.mutex);
    const DiagnosticReceiver before = s.receiver;
    s.receiver = sink ? DiagnosticReceiver{sink, context} : DiagnosticReceiver{stderrDiagnosticSink, nullptr};
    return before;
}

void reportDiagnostic(DiagnosticLevel level, const char* utf8Message) noexcept {
    SinkSlot& s = slot();
    const std::lock_guard lock(s.mutex);
    if (s.busy) return;
    s.busy = true;
    s.receiver.sink(s.receiver.context, level, utf8Message ? utf8Message : "");
    s.busy = false;
}

} // namespace QOR
