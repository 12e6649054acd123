#include "qor/slide/ui/picture.h"

#include <cairo.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include <wx/dcclient.h>
#include <wx/gdicmn.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/mstream.h>
#include <wx/settings.h>

#include "qor/kernel/locale/messages.h"
#include "qor/platform/bitmap.h"
#include "qor/platform/clipboard.h"
#include "qor/platform/emf/emf_dc.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/render/ui/paint_image_p.h"
#include "qor/render/ui/wx_args.h"

namespace QOR::detail {

/// The decoded picture: premultiplied CAIRO_FORMAT_ARGB32 at the file's pixel count.
struct PictureSurface {
    cairo_surface_t* surface = nullptr;
    int width = 0, height = 0; ///< pixels of the file
    PictureSurface() = default;
    PictureSurface(const PictureSurface&) = delete;
    PictureSurface& operator=(const PictureSurface&) = delete;
    ~PictureSurface() {
        if (surface) cairo_surface_destroy(surface);
    }
};

} // namespace QOR::detail

namespace QOR {

namespace {

constexpr double kZoomStep = 1.5;
constexpr double kZoomInLimit = 20.0;  // no step in above this
constexpr double kZoomOutLimit = 0.5;  // no step out below this
constexpr double kDefaultDpi = 96.0;   // a file that names no resolution
constexpr int kHimetricPerInch = 2540; // 0.01 mm
constexpr int kMaxSize = 1 << 24;      // pixels or HIMETRIC, whatever the file claims

/// The file's resolution in dots per inch along one axis; 0 when it names none.
double fileDpi(const wxImage& image, const wxString& option) {
    const double value = image.GetOptionInt(option);
    if (value <= 0) return 0.0;
    switch (image.GetOptionInt(wxIMAGE_OPTION_RESOLUTIONUNIT)) {
    case wxIMAGE_RESOLUTION_INCHES:
        return value;
    case wxIMAGE_RESOLUTION_CM:
        return value * 2.54;
    default:
        return 0.0; // a bare ratio of the axes, as JPEG may store: no resolution
    }
}

/// The display's resolution along one axis in dots per inch.
int displayDpi(int value) {
    return value > 0 ? value : int(kDefaultDpi);
}

/// image as premultiplied ARGB32; its mask (or alpha) becomes transparency. Null when there is no memory.
std::unique_ptr<detail::PictureSurface> toSurface(const wxImage& image) {
    auto picture = std::make_unique<detail::PictureSurface>();
    const int w = image.GetWidth(), h = image.GetHeight();
    picture->surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (cairo_surface_status(picture->surface) != CAIRO_STATUS_SUCCESS) return nullptr;
    picture->width = w;
    picture->height = h;
    unsigned char* data = cairo_image_surface_get_data(picture->surface);
    const int stride = cairo_image_surface_get_stride(picture->surface);
    const unsigned char* rgb = image.GetData();
    const unsigned char* alpha = image.HasAlpha() ? image.GetAlpha() : nullptr;
    const bool masked = image.HasMask();
    const unsigned char mr = image.GetMaskRed(), mg = image.GetMaskGreen(), mb = image.GetMaskBlue();
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + std::ptrdiff_t(y) * stride);
        for (int x = 0; x < w; ++x, rgb += 3) {
            unsigned a = alpha ? *alpha++ : 255u;
            if (masked && rgb[0] == mr && rgb[1] == mg && rgb[2] == mb) a = 0;
            const auto pre = [a](unsigned c) { return (c * a + 127) / 255; };
            row[x] = (a << 24) | (pre(rgb[0]) << 16) | (pre(rgb[1]) << 8) | pre(rgb[2]);
        }
    }
    cairo_surface_mark_dirty(picture->surface);
    return picture;
}

/// Paints picture onto cr with its top-left corner at (x, y), w x h pixels large (w, h > 0).
void drawPicture(cairo_t* cr, const detail::PictureSurface& picture, double x, double y, double w, double h) {
    const double sx = w / picture.width, sy = h / picture.height;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, sx, sy);
    cairo_set_source_surface(cr, picture.surface, 0, 0);
    // Enlarged pixels stay sharp; a shrunk picture is averaged.
    cairo_pattern_set_filter(cairo_get_source(cr),
                             sx >= 1.0 && sy >= 1.0 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
}

void setSourceColour(cairo_t* cr, DWORD rgb) {
    cairo_set_source_rgb(cr, (rgb & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, ((rgb >> 16) & 0xFF) / 255.0);
}

DWORD colorRef(const wxColour& c) {
    return RGB(c.Red(), c.Green(), c.Blue());
}

/// The picture at w x h pixels over white, as a metafile; null when there is no memory.
HENHMETAFILE metafileOf(const detail::PictureSurface& picture, int w, int h) {
    CBitmap bitmap;
    CRasterDC source;
    if (w < 1 || h < 1 || !bitmap.CreateBitmap(w, h, 1, 32, nullptr) || !source.CreateCompatibleDC(nullptr))
        return {};
    const auto& pixels = bitmap.surface();
    cairo_surface_t* target =
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels->row32(0)),
                                            CAIRO_FORMAT_RGB24, w, h, pixels->strideWords * 4);
    if (cairo_surface_status(target) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(target);
        return {};
    }
    cairo_t* cr = cairo_create(target);
    setSourceColour(cr, RGB(255, 255, 255));
    cairo_paint(cr);
    drawPicture(cr, picture, 0, 0, w, h);
    cairo_destroy(cr);
    cairo_surface_flush(target);
    cairo_surface_destroy(target);

    source.SelectObject(&bitmap);
    CMetaFileDC dc;
    if (!dc.CreateEnhanced(nullptr, nullptr, nullptr, nullptr)) return {};
    dc.BitBlt(0, 0, w, h, &source, 0, 0, SRCCOPY);
    return dc.CloseEnhanced();
}

} // namespace

CPicture::CPicture() : m_back(colorRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE))) {}

CPicture::CPicture(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
    : CPicture() {
    Create(parent, id, pos, size, style);
}

CPicture::~CPicture() = default;

bool CPicture::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style) {
    // Paint fills every pixel, so wx erases nothing first (no flicker).
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxWindow::Create(parent, id, pos, size, style | wxFULL_REPAINT_ON_RESIZE)) return false;
    bindEvents();
    return true;
}

void CPicture::bindEvents() {
    using detail::clientPoint;
    using detail::mkFlags;
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) { OnPaint(); });
    Bind(wxEVT_MOUSEWHEEL, [this](wxMouseEvent& e) {
        if (e.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL) return e.Skip();
        OnMouseWheel(mkFlags(e), detail::wheelDelta(e), detail::screenPoint(*this, e));
    });
    Bind(wxEVT_MIDDLE_DOWN, [this](wxMouseEvent& e) {
        OnMButtonDown(mkFlags(e), clientPoint(e));
        e.Skip();
    });
    Bind(wxEVT_MIDDLE_UP, [this](wxMouseEvent& e) {
        OnMButtonUp(mkFlags(e), clientPoint(e));
        e.Skip();
    });
    Bind(wxEVT_MOTION, [this](wxMouseEvent& e) {
        OnMouseMove(mkFlags(e), clientPoint(e));
        e.Skip();
    });
    // wx requires the loss of a capture to be heard; the pan simply ends.
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { m_panning = false; });
}

bool CPicture::LoadImage(const wchar_t* path) {
    if (!path) return false;
    m_picture.reset();
    m_width = m_height = m_himetricWidth = m_himetricHeight = 0;
    const wxString reason = load(path);
    if (!reason.empty()) {
        m_picture.reset();
        m_width = m_height = m_himetricWidth = m_himetricHeight = 0;
        showError(reason, "CPicture::LoadImage");
    }
    fit();
    invalidate();
    return true;
}

wxString CPicture::load(const wchar_t* path) {
    std::FILE* file = std::fopen(wxString(path).fn_str(), "rb");
    if (!file) return wxSysErrorMsgStr(errno);
    std::vector<unsigned char> bytes;
    unsigned char block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        bytes.insert(bytes.end(), block, block + got);
    const int readError = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (readError) return wxSysErrorMsgStr(readError);

    // The handlers are registered once per process; a host that registered them already keeps its own.
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG) || !wxImage::FindHandler(wxBITMAP_TYPE_TIFF))
        wxInitAllImageHandlers();
    wxImage image;
    {
        wxLogNull quiet; // the decoders' complaints would become message boxes of their own
        wxMemoryInputStream stream(bytes.data(), bytes.size());
        if (bytes.empty() || !image.LoadFile(stream, wxBITMAP_TYPE_ANY) || !image.IsOk())
            return qor_msg_get(nullptr, L"QOR_PIC_0001", L"Die Datei enthält kein lesbares Bild.", nullptr);
    }
    m_picture = toSurface(image);
    if (!m_picture) return wxSysErrorMsgStr(ENOMEM);

    double dpiX = fileDpi(image, wxIMAGE_OPTION_RESOLUTIONX),
           dpiY = fileDpi(image, wxIMAGE_OPTION_RESOLUTIONY);
    if (dpiX <= 0) dpiX = dpiY;
    if (dpiY <= 0) dpiY = dpiX;
    if (dpiX <= 0) dpiX = dpiY = kDefaultDpi;
    // A file may claim any resolution: sizes are kept below kMaxSize (far beyond any screen) so that no
    // product overflows.
    const auto limited = [](double value) { return int(std::clamp(value, 1.0, double(kMaxSize))); };
    m_himetricWidth = limited(std::round(image.GetWidth() * kHimetricPerInch / dpiX));
    m_himetricHeight = limited(std::round(image.GetHeight() * kHimetricPerInch / dpiY));
    const wxSize display = wxGetDisplayPPI();
    const auto pixels = [&limited](int himetric, int dpi) {
        return limited(double((std::int64_t(himetric) * dpi + kHimetricPerInch / 2) / kHimetricPerInch));
    };
    m_width = pixels(m_himetricWidth, displayDpi(display.x));
    m_height = pixels(m_himetricHeight, displayDpi(display.y));
    return {};
}

void CPicture::showError(const wxString& text, const wxString& title) {
    wxMessageBox(text, title, wxOK | wxICON_ERROR, this);
}

double CPicture::fitFactor() const {
    const wxSize client = GetClientSize();
    if (client.x < 1 || client.y < 1) return 1.0;
    return std::max({1.0, double(m_height) / client.y, double(m_width) / client.x});
}

void CPicture::fit() {
    const wxSize client = GetClientSize();
    const double f = fitFactor();
    m_originX = int((client.x - m_width / f) * 0.5);
    m_originY = int((client.y - m_height / f) * 0.5);
    m_zoom = 1.0;
}

void CPicture::Reset() {
    if (!m_picture) return;
    fit();
    invalidate();
}

void CPicture::SetBackColor(DWORD colour) {
    m_back = colour & 0xFFFFFF;
}

bool CPicture::Copy() {
    if (!m_picture) return false;
    ClipboardBackend& board = clipboard();
    if (!board.open()) return false;
    HENHMETAFILE picture = metafile();
    board.empty();
    if (!picture.isNull()) board.setEnhMetaFile(picture);
    board.close();
    return true;
}

HENHMETAFILE CPicture::metafile() const {
    return m_picture ? metafileOf(*m_picture, m_width, m_height) : HENHMETAFILE{};
}

void CPicture::OnPaint() {
    wxPaintDC dc(this);
    const wxSize client = GetClientSize();
    if (client.x < 1 || client.y < 1) return;
    if (!m_image) m_image = std::make_unique<detail::PaintImage>();
    if (!m_image->fit(client.x, client.y)) {
        dc.SetBackground(wxBrush(GetBackgroundColour()));
        dc.Clear();
        return;
    }
    cairo_t* cr = cairo_create(m_image->surface);
    setSourceColour(cr, HasFlag(wxTRANSPARENT_WINDOW)
                            ? colorRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE))
                            : m_back);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    if (m_picture) {
        const double f = fitFactor();
        const int w = int(m_zoom * m_width / f), h = int(m_zoom * m_height / f);
        if (w > 0 && h > 0) drawPicture(cr, *m_picture, m_originX, m_originY, w, h);
    }
    cairo_destroy(cr);
    detail::blitSurface(dc, m_image->surface);
}

BOOL CPicture::OnMouseWheel(UINT, short delta, CPoint pt) {
    if (!m_picture) return 0;
    const bool in = delta > 0;
    if (in ? m_zoom > kZoomInLimit : m_zoom < kZoomOutLimit) return 0;
    const wxPoint p = ScreenToClient(wxPoint(pt.x, pt.y));
    const auto scaled = [in](int origin, int at) {
        return int((in ? (origin - at) * kZoomStep : (origin - at) / kZoomStep) + at);
    };
    m_zoom = in ? m_zoom * kZoomStep : m_zoom / kZoomStep;
    m_originX = scaled(m_originX, p.x);
    m_originY = scaled(m_originY, p.y);
    invalidate();
    return 1;
}

void CPicture::OnMButtonDown(UINT, CPoint pt) {
    SetFocus();
    if (!HasCapture()) CaptureMouse();
    m_panning = true;
    m_panOriginX = m_originX;
    m_panOriginY = m_originY;
    m_panStartX = pt.x;
    m_panStartY = pt.y;
}

void CPicture::OnMButtonUp(UINT, CPoint) {
    m_panning = false;
    if (HasCapture()) ReleaseMouse();
}

void CPicture::OnMouseMove(UINT flags, CPoint pt) {
    if (!m_panning || !(flags & MK_MBUTTON)) return;
    m_originX = m_panOriginX + pt.x - m_panStartX;
    m_originY = m_panOriginY + pt.y - m_panStartY;
    invalidate();
}

} // namespace QOR
