#pragma once

// Where the library's messages go. Library code never writes to stderr or a window itself: it hands a
// message to reportDiagnostic, which passes it to the installed sink. The default sink writes
// "qor: <message>\n" to stderr; a host routes the messages to its own log by installing a sink of its own.
//
// Threads: the sink is called from any thread the library runs on, the renderer's drawing threads
// included. reportDiagnostic serialises the calls, so a sink never runs twice at once and needs no lock
// of its own. A sink may be set at any time, during a paint too: once setDiagnosticSink returns, the
// sink it replaced is not running and is never called again, so its context may go.

#include "qor/kernel/base/export.h"

namespace QOR {

/// How much a message matters.
enum class DiagnosticLevel {
    Info,
    Warning, ///< something was skipped (a bad configuration file); the call went on
    Error,   ///< a call failed (no memory, an exception from the host) and gave its failure result
};

/// Receives one message: UTF-8 text of one line without the line break, never null. context is the
/// pointer given with the sink. A sink must not throw; a message it reports itself is dropped.
using DiagnosticSink = void (*)(void* context, DiagnosticLevel level, const char* utf8Message) noexcept;

/// A sink with its context, as setDiagnosticSink returns the one it replaces.
struct DiagnosticReceiver {
    DiagnosticSink sink = nullptr;
    void* context = nullptr;
};

/// Installs sink with context (a null sink reinstalls the default one) and returns the sink and context
/// installed before, so that a caller can put them back.
QOR_EXPORT DiagnosticReceiver setDiagnosticSink(DiagnosticSink sink, void* context) noexcept;

/// Passes message (null is taken as empty) to the installed sink.
QOR_EXPORT void reportDiagnostic(DiagnosticLevel level, const char* utf8Message) noexcept;

/// The default sink: writes "qor: <message>\n" to stderr with one call; context is unused.
QOR_EXPORT void stderrDiagnosticSink(void* context, DiagnosticLevel level, const char* utf8Message) noexcept;

} // namespace QOR
