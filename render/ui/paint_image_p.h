#pragma once

// What every window of qor_ui paints through: an image the window keeps at its client size, which the
// window's painter fills and one blit puts on the screen (double buffering without a second copy).
// Shared by the window folders of qor_ui (render/ui/, slide/ui/); never installed.
//
// Conventions
//  - Pixels: CAIRO_FORMAT_RGB24, one native-endian word 0x00RRGGBB per pixel, the layout of
//    platform/bitmap.h and of the core's painters. Row 0 is the top row.

#include <cairo.h>

#include <cstddef>
#include <cstdint>

#include <wx/dc.h>

namespace QOR::detail {

/// A cairo image surface the window owns; made again only when the size changes.
struct PaintImage {
    cairo_surface_t* surface = nullptr;
    PaintImage() = default;
    PaintImage(const PaintImage&) = delete;
    PaintImage& operator=(const PaintImage&) = delete;
    ~PaintImage() {
        if (surface) cairo_surface_destroy(surface);
    }
    int width() const { return surface ? cairo_image_surface_get_width(surface) : 0; }
    int height() const { return surface ? cairo_image_surface_get_height(surface) : 0; }
    /// False when there is no memory for a w x h image (then no image is held).
    bool fit(int w, int h);
};

/// Puts the w x h pixels at pixels (rows strideBytes apart) at the top-left corner of dc. Through the
/// context's cairo context when it has one (GTK 3: no copy); otherwise through a wxImage.
void blitPixels(wxDC& dc, const std::uint32_t* pixels, int w, int h, std::ptrdiff_t strideBytes);
/// The same for an image surface in CAIRO_FORMAT_RGB24 (flushed first).
void blitSurface(wxDC& dc, cairo_surface_t* surface);

} // namespace QOR::detail
