#include "qor/render/ui/paint_image_p.h"

#include <wx/bitmap.h>
#include <wx/image.h>

namespace QOR::detail {

bool PaintImage::fit(int w, int h) {
    if (surface && width() == w && height() == h) return true;
    if (surface) cairo_surface_destroy(surface);
    surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) return true;
    cairo_surface_destroy(surface);
    surface = nullptr;
    return false;
}

void blitPixels(wxDC& dc, const std::uint32_t* pixels, int w, int h, std::ptrdiff_t strideBytes) {
    if (!pixels || w < 1 || h < 1) return;
    if (auto* cr = static_cast<cairo_t*>(dc.GetImpl()->GetCairoContext())) {
        // cairo only reads the pixels here; the surface lives for this one paint.
        cairo_surface_t* source = cairo_image_surface_create_for_data(
            reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(pixels)), CAIRO_FORMAT_RGB24, w, h,
            int(strideBytes));
        if (cairo_surface_status(source) == CAIRO_STATUS_SUCCESS) {
            cairo_save(cr);
            cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
            cairo_set_source_surface(cr, source, 0, 0);
            cairo_paint(cr);
            cairo_restore(cr);
            cairo_surface_destroy(source);
            return;
        }
        cairo_surface_destroy(source);
    }
    // A device context that draws without cairo (wx on Windows), or a stride cairo refuses: the pixels go
    // through a wxImage, a copy per frame that the cairo path avoids.
    wxImage image(w, h, false);
    unsigned char* rgb = image.GetData();
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            reinterpret_cast<const unsigned char*>(pixels) + std::ptrdiff_t(y) * strideBytes);
        for (int x = 0; x < w; ++x, rgb += 3) {
            rgb[0] = static_cast<unsigned char>(row[x] >> 16);
            rgb[1] = static_cast<unsigned char>(row[x] >> 8);
            rgb[2] = static_cast<unsigned char>(row[x]);
        }
    }
    dc.DrawBitmap(wxBitmap(image), 0, 0);
}

void blitSurface(wxDC& dc, cairo_surface_t* surface) {
    if (!surface) return;
    cairo_surface_flush(surface);
    blitPixels(dc, reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface)),
               cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface),
               cairo_image_surface_get_stride(surface));
}

} // namespace QOR::detail
