#pragma once

// The display-list renderer: turns a display list (gdx/gdx.h) into drawing calls on a device context.
//
// Conventions
//  - One algorithm serves two targets. Where they differ (background fill, colours equal to the
//    background, one-pixel pieces, region fills, ...) the caller names the target with RenderTarget; the
//    renderer never asks the device context what it is.
//  - Items are drawn once each, in the list's draw order (the list is sorted first, which is the only
//    change the window target makes to it). Geometry reaches the device as integer coordinates truncated
//    toward zero (QOR::deviceCoord).
//  - Every pen, brush and region is made for one item and released before the next; the device context
//    is left with the stock objects and colours it had on entry.
//  - paintWindow and paintToBitmap draw a large list with up to four threads at once (as many as the
//    hardware runs), with the picture a single pass would give. The host application is only ever
//    called on the caller's thread.
//  - Threads: what a paint needs beyond the list (hatch patterns, pictures, the drawing unit and the
//    lengths made from it, the back colour) is read on the caller's thread when it starts and handed to
//    the workers in the frame; the workers read no configuration, message, host or registry. Any thread
//    may paint; two threads may paint at once, each its own list (a paint sorts the list it is given).
//  - Failures: nothing here throws. When memory runs out or the host application throws (a pattern
//    look-up, say), the call stops, gives its failure result and reports one message to the diagnostics
//    sink (kernel/base/diagnostics.h) on the caller's thread, whichever thread failed; the device context
//    keeps its pen, brush and colours. A picture only part drawn is never handed out: paintWindow copies
//    nothing, paintToBitmap leaves the bitmap not created, paintToMetafile writes no file.

#include "qor/gdx/gdx.h"
#include "qor/kernel/base/export.h"
#include "qor/platform/bitmap.h"
#include "qor/platform/dc.h"
#include "qor/platform/emf/metafile.h"

namespace QOR {

/// Which of the two targets a drawing is for.
enum class RenderTarget {
    Window,   ///< an off-screen bitmap copied to a window
    Metafile, ///< an enhanced metafile
};

/// Draws every item of gdx into dc for a drawing surface of width x height device units: sorts the list,
/// builds the matrices, clips to the surface and draws each item. The caller prepares the surface (the
/// window fills the back colour first). For the window a size below 1 is taken as 1; a metafile is clipped
/// to the size given, so a side of 0 (or less) records no drawing. False when the drawing failed (see
/// Failures above): what was drawn before stays in dc.
QOR_EXPORT bool renderItems(CQorGDX& gdx, CDC& dc, int width, int height, RenderTarget target) noexcept;

/// The paint step of a display-list window: draws gdx into an off-screen bitmap of the client size
/// (filled with the back colour first) and copies it to paintDC at (0, 0). A null gdx draws nothing;
/// a client size below 1 x 1 draws nothing. False when nothing was copied, also when the drawing failed.
QOR_EXPORT bool paintWindow(CQorGDX* gdx, CDC& paintDC, int width, int height) noexcept;

/// The window target without a window: a new 32-bit bitmap of width x height holding what paintWindow
/// shows; whatever bitmap held before is released. False, with bitmap not created, for a null gdx, a
/// size below 1 x 1 or when the drawing failed.
QOR_EXPORT bool paintToBitmap(CQorGDX* gdx, CBitmap& bitmap, int width, int height) noexcept;

/// Largest side of a metafile drawing; larger sides are taken as this.
constexpr int kMetafileSideLimit = 32767;

/// The metafile target: fits the list's view to its view extents for a picture of width x height
/// (the list keeps that view matrix), draws every item into a new enhanced metafile, nothing behind
/// them, and returns it; with a path the metafile is also written there (atomically). A side of 0 gets
/// the view fitted as for 320 or 240 (getViewMtx), yet the drawing is still clipped to width x height, so
/// nothing is drawn. Null for a null gdx, when the file cannot be written or the drawing failed.
QOR_EXPORT HENHMETAFILE paintToMetafile(CQorGDX* gdx, const wchar_t* path, int width, int height) noexcept;

} // namespace QOR

/// Draws gdx into an enhanced metafile of width x height device units (paintToMetafile): written to
/// path, or, with a null path, put on the clipboard (QOR::clipboard()) in place of what it held. A
/// clipboard that cannot be opened gets nothing and the metafile is dropped. Reports no errors; a null
/// gdx does nothing. The list keeps the view matrix fitted to its extents.
QOR_EXPORT void refresh(CQorGDX* gdx, const wchar_t* path, int height, int width) noexcept;
