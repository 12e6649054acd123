#pragma once

// What a wx event becomes for a window's handler: the arguments its Win32 message carried. Every
// binding converts here and nowhere else.
//
// Conventions
//  - Client points: pixels from the window's client area's top-left corner, y down. Screen points: the
//    same from the screen's top-left corner.
//  - Wheel deltas are in 120ths of a notch (WHEEL_DELTA), whatever unit the toolkit reports in.

#include <wx/event.h>
#include <wx/window.h>

#include "qor/platform/win_types.h"
#include "qor/render/ui/export.h"

// Mouse-message key state bits.
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_MBUTTON = 0x0010;
/// One wheel notch.
constexpr int WHEEL_DELTA = 120;

namespace QOR::detail {

/// The MK_* bits of the buttons and keys held during e.
QOR_UI_EXPORT UINT mkFlags(const wxMouseState& e) noexcept;
/// e's wheel rotation in 120ths of a notch, clamped to a short; 0 for a horizontal wheel.
QOR_UI_EXPORT short wheelDelta(const wxMouseEvent& e) noexcept;
/// e's position in the window's client coordinates.
QOR_UI_EXPORT CPoint clientPoint(const wxMouseEvent& e) noexcept;
/// e's position in screen coordinates (window is the one the event is for).
QOR_UI_EXPORT CPoint screenPoint(const wxWindow& window, const wxMouseEvent& e) noexcept;

} // namespace QOR::detail
