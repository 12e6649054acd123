#pragma once

// CSlidePic: the slide window. It is a CSlide (slide/slide.h: loading, drawing, the metafile, Copy) that
// is also a wx window: its paint draws the slide into the client area, and every load repaints it.
//
// Conventions
//  - Device space is the client area: pixels from its top-left corner, y down. The slide is scaled into
//    the client rectangle as CSlide::paint does (slide/slide.h).
//  - Paint draws with the core's raster device context into a bitmap the window keeps at its client
//    size, then blits that bitmap to the screen once (render/ui/paint_image_p.h): what the screen shows
//    is, pixel for pixel, CSlide::paint on a CRasterDC of the same size.
//  - With wxTRANSPARENT_WINDOW in the style no background is painted: the slide is drawn over the
//    window's background colour (which wx inherits from the parent).
//  - Copy (from CSlide) puts the slide on the library's clipboard (platform/clipboard.h) as a metafile of
//    the slide's own size; the window's size does not matter.

#include <wx/window.h>

#include "qor/platform/bitmap.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/render/ui/export.h"
#include "qor/slide/slide.h"

namespace QOR {

class QOR_UI_EXPORT CSlidePic : public wxWindow, public CSlide {
public:
    /// No window yet: Create makes it. No slide, background index 0.
    CSlidePic();
    CSlidePic(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize, long style = 0);
    ~CSlidePic() override;

    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = 0);

    /// Paints the client area: the background (unless transparent) and the slide.
    void OnPaint();

protected:
    /// Repaints the whole window (once it exists).
    void invalidate() noexcept override;

private:
    /// The bitmap at w x h pixels, selected into the device context; false when there is no memory.
    bool fitBitmap(int w, int h) noexcept;

    CRasterDC m_dc;
    CBitmap m_bitmap; ///< the painted pixels at client size
};

} // namespace QOR
