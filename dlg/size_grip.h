#pragma once

// The size grip of a resizable dialog: three groups of diagonal lines in the bottom-right corner of the
// client area.

#include <wx/dc.h>

#include "qor/render/ui/export.h"

namespace QOR::detail {

/// Draws the grip into dc for a client area of clientSize pixels: for d = 3, 7, 11 a grey line (128,
/// 128, 128) from (w - d, h) to (w, h - d), another for d + 1, and a white one for d + 2; one-pixel solid
/// pens, the end point excluded as a line's is.
QOR_UI_EXPORT void drawSizeGrip(wxDC& dc, const wxSize& clientSize);

} // namespace QOR::detail
