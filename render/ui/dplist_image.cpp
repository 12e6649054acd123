#include "qor/render/ui/dplist_image.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <wx/dcclient.h>
#include <wx/imagbmp.h>
#include <wx/image.h>
#include <wx/mstream.h>

#include "qor/kernel/host/host_app.h"
#include "qor/platform/resources.h"
#include "qor/render/ui/paint_image_p.h"
#include "qor/render/ui/wx_args.h"

wxDEFINE_EVENT(QOR_EVT_ITEM_PICKED, wxCommandEvent);

namespace QOR::detail {

wxCursor panCursor() {
    const std::span<const unsigned char> bytes = resourceFind(RT_GROUP_CURSOR, 4006);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_CUR)) wxImage::AddHandler(new wxCURHandler);
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    wxImage image;
    if (bytes.empty() || !image.LoadFile(stream, wxBITMAP_TYPE_CUR)) return wxCursor(wxCURSOR_CROSS);
    return wxCursor(image);
}

} // namespace QOR::detail

using QOR::detail::PaintImage;

CQorDplistImage::CQorDplistImage() : m_panCursor(QOR::detail::panCursor()), m_normalCursor(wxCURSOR_CROSS) {}

CQorDplistImage::CQorDplistImage(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                                 long style)
    : CQorDplistImage() {
    Create(parent, id, pos, size, style);
}

CQorDplistImage::~CQorDplistImage() = default;

bool CQorDplistImage::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                             long style) {
    // Paint fills every pixel, so wx erases nothing first (no flicker).
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxWindow::Create(parent, id, pos, size, style | wxFULL_REPAINT_ON_RESIZE | wxWANTS_CHARS))
        return false;
    SetCursor(m_normalCursor);
    bindEvents();
    return true;
}

void CQorDplistImage::bindEvents() {
    using QOR::detail::clientPoint;
    using QOR::detail::mkFlags;
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) { OnPaint(); });
    Bind(wxEVT_MOUSEWHEEL, [this](wxMouseEvent& e) {
        if (!OnMouseWheel(mkFlags(e), QOR::detail::wheelDelta(e), QOR::detail::screenPoint(*this, e)))
            e.Skip();
    });
    Bind(wxEVT_MOTION, [this](wxMouseEvent& e) {
        OnMouseMove(mkFlags(e), clientPoint(e));
        e.Skip();
    });
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) {
        OnLButtonDown(mkFlags(e), clientPoint(e));
        e.Skip();
    });
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& e) {
        OnLButtonUp(mkFlags(e), clientPoint(e));
        e.Skip();
    });
    Bind(wxEVT_MIDDLE_DOWN, [this](wxMouseEvent& e) {
        OnMButtonDown(mkFlags(e), clientPoint(e));
        e.Skip();
    });
    Bind(wxEVT_MIDDLE_UP, [this](wxMouseEvent& e) {
        OnMButtonUp(mkFlags(e), clientPoint(e));
        e.Skip();
    });
    Bind(wxEVT_MIDDLE_DCLICK, [this](wxMouseEvent& e) {
        OnMButtonDblClk(mkFlags(e), clientPoint(e));
        e.Skip();
    });
    // wx requires the loss of a capture to be heard; the pan simply ends.
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { SetCursor(m_normalCursor); });
}

bool CQorDplistImage::focused() const {
    return wxWindow::FindFocus() == this;
}

void CQorDplistImage::setPanOrigin() noexcept {
    m_panOriginX = m_zoom.entry[0][3];
    m_panOriginY = m_zoom.entry[1][3];
}

bool CQorDplistImage::set_dpList(CQorGDX* gdx) {
    m_gdx = gdx;
    m_painter.forget();
    invalidate();
    return m_gdx != nullptr;
}

void CQorDplistImage::zoomExtents() {
    if (!m_gdx) return;
    const wxSize client = GetClientSize();
    CQorPoint3d min, max;
    m_gdx->extMaxViewGet(min, max);
    m_gdx->viewMtxSet(getViewMtx(min, max, client.y, client.x, 0.05));
    m_zoom = CQorMatrix3d();
    m_gdx->zoomMtxSet(m_zoom);
}

void CQorDplistImage::OnPaint() {
    wxPaintDC dc(this);
    const wxSize client = GetClientSize();
    if (!m_image) m_image = std::make_unique<PaintImage>();
    if (!m_gdx || client.x < 1 || client.y < 1 || !m_image->fit(client.x, client.y)) {
        dc.SetBackground(wxBrush(GetBackgroundColour()));
        dc.Clear();
        return;
    }
    cairo_surface_t* surface = m_image->surface;
    cairo_surface_flush(surface);
    // A failed paint leaves the back colour in the pixels and says why through the diagnostics sink.
    m_painter.paint(m_gdx, reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface)), client.x,
                    client.y, cairo_image_surface_get_stride(surface));
    cairo_surface_mark_dirty(surface);
    QOR::detail::blitSurface(dc, surface);
}

BOOL CQorDplistImage::OnMouseWheel(UINT flags, short delta, CPoint pt) {
    if (flags & MK_MBUTTON) return 0;
    if (!m_gdx || delta == 0) return 1;
    const wxPoint client = ScreenToClient(wxPoint(pt.x, pt.y));
    const double f = std::abs(int(delta)) * 1.2 / 120.0;
    CQorMatrix3d scaling;
    scaling.setToScaling(delta > 0 ? f : 1.0 / f, CQorPoint3d(client.x, client.y, 0.0));
    m_zoom = scaling * m_zoom;
    setPanOrigin();
    m_gdx->zoomMtxSet(m_zoom);
    invalidate();
    return 1;
}

void CQorDplistImage::OnMouseMove(UINT flags, CPoint pt) {
    if (!focused()) return;
    if (!(flags & MK_MBUTTON)) {
        SetCursor(m_normalCursor);
        return;
    }
    if (m_gdx) {
        m_zoom.entry[0][3] = pt.x + m_panOriginX - m_panStartX;
        m_zoom.entry[1][3] = pt.y + m_panOriginY - m_panStartY;
        m_gdx->zoomMtxSet(m_zoom);
        invalidate();
    }
    SetCursor(m_panCursor);
}

void CQorDplistImage::OnLButtonDown(UINT, CPoint pt) {
    SetFocus();
    if (m_gdx) {
        const int id = m_gdx->imageItemGet(CQorPoint3d(pt.x, pt.y, 0.0));
        if (id > -1 && GetParent()) {
            auto* picked = new wxCommandEvent(QOR_EVT_ITEM_PICKED, GetId());
            picked->SetEventObject(this);
            picked->SetInt(id);
            wxQueueEvent(GetParent(), picked);
        }
    }
    if (focused()) SetCursor(m_normalCursor);
}

void CQorDplistImage::OnLButtonUp(UINT, CPoint) {
    if (focused()) SetCursor(m_normalCursor);
}

void CQorDplistImage::OnMButtonDown(UINT, CPoint pt) {
    if (!focused()) SetFocus();
    setPanOrigin();
    if (!HasCapture()) CaptureMouse();
    m_panStartX = pt.x;
    m_panStartY = pt.y;
    SetCursor(m_panCursor);
}

void CQorDplistImage::OnMButtonUp(UINT, CPoint) {
    if (HasCapture()) ReleaseMouse();
    SetCursor(m_normalCursor);
}

void CQorDplistImage::OnMButtonDblClk(UINT, CPoint) {
    zoomExtents();
    invalidate();
}

// ---- CQorVllImage

namespace {

using Path = CQorArrayTempl<int>;
/// The colour mode of the polylines: colour-table slot 6, the contrast colour.
constexpr auto kPolylineMode = static_cast<QOR::GdxColorMode>(6);
constexpr DWORD kBaseShown = 0x400;     // colour mode 4 (GdxColorBase)
constexpr DWORD kBaseHidden = 0x40C;    // colour mode 4, GdxItemHidden, GdxItemNoExtents
constexpr DWORD kPolylineFlags = 0x600; // colour mode 6
constexpr DWORD kWhite = 0xFFFFFF;

CQorColor trueColor(DWORD rgb) {
    CQorColor c;
    // setColor takes 0x00RRGGBB: swap from 0x00BBGGRR.
    c.setColor(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    return c;
}

} // namespace

CQorVllImage::CQorVllImage() {
    init();
}

CQorVllImage::CQorVllImage(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                           long style)
    : CQorVllImage() {
    Create(parent, id, pos, size, style);
}

bool CQorVllImage::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                          long style) {
    if (!CQorDplistImage::Create(parent, id, pos, size, style)) return false;
    Bind(wxEVT_LEFT_DCLICK, [this](wxMouseEvent& e) {
        OnLButtonDblClk(QOR::detail::mkFlags(e), QOR::detail::clientPoint(e));
        e.Skip();
    });
    return true;
}

void CQorVllImage::init() {
    set_dpList(&m_own);
    SetBkColor(QOR::qorAppPtr()->imageBkColor());
}

void CQorVllImage::SetBkColor(DWORD rgb) {
    m_back = rgb & kWhite;
    const int mean = (int(m_back & 0xFF) + int((m_back >> 8) & 0xFF) + int((m_back >> 16) & 0xFF)) / 3;
    m_contrast = mean < 128 ? kWhite : 0;
    m_own.backColorSet(trueColor(m_back));
    m_own.ColorTabSet(kPolylineMode, trueColor(m_contrast));
}

bool CQorVllImage::setVll(const CQorArrayTempl<CQorVertexArray>& vll) {
    m_own.clear();
    const CQorColor contrast = trueColor(m_contrast);
    m_own.imagePt(Path{0}, m_drawBase ? kBaseShown : kBaseHidden, CQorPoint3d(), contrast, CQorMatrix3d(),
                  double(m_pdSize), m_pdMode, CQorPoint3d());
    for (int i = 0; i < vll.len(); ++i)
        m_own.imageVl(Path{i + 1}, kPolylineFlags, vll[i], contrast, CQorMatrix3d(), {1.0}, 1.0, 0,
                      CQorPoint3d());
    zoomExtents();
    invalidate();
    return true;
}

int CQorVllImage::SetCurVl(int index) {
    const int old = m_curVl;
    if (old >= 0) m_own.cModeSet(Path{old + 1}, kPolylineMode);
    if (index >= 0) m_own.cModeSet(Path{index + 1}, QOR::GdxColorHighlight);
    m_curVl = index;
    invalidate();
    return old;
}

bool CQorVllImage::setDrawBase(bool show) {
    const bool old = m_drawBase;
    m_drawBase = show;
    m_own.propSet(Path{0}, show ? 1 : 2);
    m_own.propSet(Path{0}, show ? 3 : 4);
    zoomExtents();
    invalidate();
    return old;
}

void CQorVllImage::OnLButtonDblClk(UINT, CPoint) {
    zoomExtents();
    invalidate();
}
