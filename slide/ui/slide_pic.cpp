#include "qor/slide/ui/slide_pic.h"

#include <cstddef>
#include <cstdint>

#include <wx/dcclient.h>

#include "qor/render/ui/paint_image_p.h"

namespace QOR {

CSlidePic::CSlidePic() {
    m_dc.CreateCompatibleDC(nullptr);
}

CSlidePic::CSlidePic(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
    : CSlidePic() {
    Create(parent, id, pos, size, style);
}

CSlidePic::~CSlidePic() = default;

bool CSlidePic::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style) {
    // Paint fills every pixel, so wx erases nothing first (no flicker).
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxWindow::Create(parent, id, pos, size, style | wxFULL_REPAINT_ON_RESIZE)) return false;
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) { OnPaint(); });
    return true;
}

void CSlidePic::invalidate() noexcept {
    if (GetHandle()) Refresh();
}

bool CSlidePic::fitBitmap(int w, int h) noexcept {
    if (m_bitmap.width() != w || m_bitmap.height() != h) {
        m_bitmap.DeleteObject();
        if (!m_bitmap.CreateBitmap(w, h, 1, 32, nullptr)) return false;
    }
    // Selected again each time: the device context binds the bitmap's size and pixels on selection.
    m_dc.SelectObject(&m_bitmap);
    return m_dc.GetCurrentBitmap() == &m_bitmap;
}

void CSlidePic::OnPaint() {
    wxPaintDC dc(this);
    const wxSize client = GetClientSize();
    if (client.x < 1 || client.y < 1) return;
    if (!fitBitmap(client.x, client.y)) {
        dc.SetBackground(wxBrush(GetBackgroundColour()));
        dc.Clear();
        return;
    }
    const CRect rect(0, 0, client.x, client.y);
    const bool transparent = HasFlag(wxTRANSPARENT_WINDOW);
    if (transparent) {
        const wxColour back = GetBackgroundColour();
        m_dc.FillSolidRect(&rect, RGB(back.Red(), back.Green(), back.Blue()));
    }
    paint(&m_dc, rect, transparent);
    const auto& surface = m_bitmap.surface();
    detail::blitPixels(dc, surface->row32(0), client.x, client.y, std::ptrdiff_t(surface->strideWords) * 4);
}

} // namespace QOR
