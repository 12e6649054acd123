#pragma once

// A view's painter: what a window keeps between paints so that a repaint only draws.
//
// Conventions
//  - Pixels: 32 bits each, 0x00RRGGBB in a native-endian word (in memory B, G, R, unused on this
//    platform), the layout of platform/bitmap.h, of a 32-bit DIB and of a cairo image surface in
//    CAIRO_FORMAT_RGB24. Row 0 is the top row; rows lie strideBytes apart.
//  - The buffer belongs to the caller: the painter draws into it directly (no off-screen copy) and keeps
//    no pointer into it after paint returns.
//  - What is kept: the device context and the bitmap over the caller's pixels, the drawing threads and
//    every thread's scratch buffers, the hatch patterns and pictures the list asked for, each polyline
//    item's path with its line type laid and its arcs in chords, each text item's glyph outlines with
//    their arcs in chords, and each region's loops, hatch lines and outline paths (model space: a pan or
//    a zoom only places them). What is kept of an item holds while the item's stamp
//    (CQorDisplayItem::m_stamp) stands; an item changed since is prepared again. All of it is dropped
//    when a different list is painted, when the view direction or the configuration changes
//    (cfgGeneration) and on forget().
//    Once the size and the list are stable a repaint allocates nothing (the drawing threads' layers and
//    buffers grow during the first frames of a large list, until each has met its largest share).
//  - The pixels are those of paintToBitmap for the same list and size, pixel for pixel.
//  - Threads: one painter paints on one thread at a time (it is a window's); it draws a large list with
//    the renderer's drawing threads as paintWindow does.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "qor/gdx/gdx.h"
#include "qor/kernel/base/export.h"

namespace QOR {

class QOR_EXPORT CViewPainter {
public:
    CViewPainter() noexcept;
    ~CViewPainter();
    CViewPainter(const CViewPainter&) = delete;
    CViewPainter& operator=(const CViewPainter&) = delete;

    /// Draws what the window shows of gdx (the back colour, then every item) into widthPx x heightPx
    /// pixels at pixels, rows strideBytes apart (a multiple of 4, at least 4 * widthPx). False, the pixels
    /// untouched, for a null gdx or pixels, a size below 1 x 1 or beyond the bitmap limit, or a bad
    /// stride. False too when the drawing failed (memory ran out, the host threw): then every pixel holds
    /// the back colour and one message went to the diagnostics sink (kernel/base/diagnostics.h).
    bool paint(CQorGDX* gdx, std::uint32_t* pixels, int widthPx, int heightPx,
               std::ptrdiff_t strideBytes) noexcept;

    /// Drops the hatch patterns and pictures kept, so that the next paint asks for them again (a host
    /// whose patterns changed calls it).
    void forget() noexcept;

private:
    struct State;
    std::unique_ptr<State> m_state; ///< made on the first paint; null before or when there was no memory
};

} // namespace QOR
