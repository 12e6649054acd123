#pragma once

// The clipboard seam. Code that copies a picture talks to ClipboardBackend through clipboard(); the core
// library installs an in-process clipboard (a single slot that lives as long as the process), and a window
// toolkit layer replaces it with one that reaches the desktop's clipboard (setClipboardBackend).
//
// The calls follow the Win32 protocol that callers are written against: open, empty, set, close. Only
// one opener at a time: open() fails while the clipboard is open. Setting data needs the clipboard open.
//
// Threads: clipboard() and setClipboardBackend may be called from any thread (the installed backend is
// an atomic pointer; install one at start-up, and keep it alive while any thread may still use it). The
// in-process clipboard locks every call. An installed backend states its own rule: one that reaches a
// desktop clipboard belongs to the UI thread, so the metafile target's refresh() with a null path is
// then called there.

#include "qor/kernel/base/export.h"
#include "qor/platform/emf/metafile.h"

namespace QOR {

class QOR_EXPORT ClipboardBackend {
public:
    virtual ~ClipboardBackend();
    /// False while it is open already (by anyone).
    virtual bool open() noexcept = 0;
    /// False when it was not open.
    virtual bool close() noexcept = 0;
    /// Removes everything; false when not open.
    virtual bool empty() noexcept = 0;
    /// Puts the metafile on the clipboard, taking ownership (metafile is left null). False when not open
    /// or the metafile is null; the metafile is then left as it was.
    virtual bool setEnhMetaFile(HENHMETAFILE& metafile) noexcept = 0;
    virtual bool hasEnhMetaFile() const noexcept = 0;
    /// A copy of the metafile on the clipboard; null when there is none. Needs no open().
    virtual HENHMETAFILE getEnhMetaFile() const noexcept = 0;
};

/// The installed backend, or the in-process one when none is installed.
QOR_EXPORT ClipboardBackend& clipboard() noexcept;
/// Installs backend (not owned; it must outlive its installation); null restores the in-process one.
QOR_EXPORT void setClipboardBackend(ClipboardBackend* backend) noexcept;

} // namespace QOR
