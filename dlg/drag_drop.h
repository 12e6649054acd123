#pragma once

// Dragging a file out of a dialog to another program (a file manager, a mail program).

#include "qor/platform/win_types.h"
#include "qor/render/ui/export.h"

class wxDropSource;

// Drop effects (the Win32 values).
constexpr unsigned long DROPEFFECT_NONE = 0;
constexpr unsigned long DROPEFFECT_COPY = 1;
constexpr unsigned long DROPEFFECT_MOVE = 2;
constexpr unsigned long DROPEFFECT_LINK = 4;

namespace QOR {

/// Starts a drag of the file at path (offered as a text/uri-list) and waits until it is dropped or
/// cancelled. effects are the DROPEFFECT_* allowed (move allowed when it holds DROPEFFECT_MOVE);
/// startRect is unused on this platform; source (may be null) is the drop source to use, else one of the
/// innermost open dialog, the host's window or the active window. False when the file does not exist,
/// there is no window to drag from, or nothing took it.
QOR_UI_EXPORT bool DoDragDrop(const wchar_t* path, unsigned long effects, const RECT* startRect,
                              wxDropSource* source) noexcept;

} // namespace QOR
