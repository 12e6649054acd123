#pragma once

// The process-wide dialog stack: the windows of the library's modal dialogs that are open, innermost
// last. A dialog with a caption pushes itself when it is initialised and pops when it closes, so the
// next dialog environment (dlg_env.h) takes the innermost open dialog as its parent without the host
// passing windows around. Child dialogs without a caption (tab pages) never touch it.
//
// UI thread only; unguarded.

#include <wx/window.h>

#include "qor/render/ui/export.h"

namespace QOR {

/// Removes and returns the innermost window; null (and no change) when the stack is empty.
QOR_UI_EXPORT wxWindow* dlgStackPop() noexcept;
/// Appends window. Room grows to 8 entries, then doubles as needed; popping never shrinks it.
QOR_UI_EXPORT void dlgStackPush(wxWindow* window) noexcept;

namespace detail {
/// The innermost window without removing it; null when the stack is empty.
QOR_UI_EXPORT wxWindow* dlgStackTop() noexcept;
/// Number of windows on the stack.
QOR_UI_EXPORT int dlgStackCount() noexcept;
/// Number of windows the stack has room for.
QOR_UI_EXPORT int dlgStackCapacity() noexcept;
} // namespace detail

} // namespace QOR
