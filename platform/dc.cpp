#include "qor/platform/dc.h"

#include <algorithm>

#include "qor/platform/device_coord_p.h"

using QOR::clampDevice;
using QOR::Region;
using QOR::detail::fail;
using QOR::detail::guarded;
using QOR::detail::Status;

namespace {

RECT normalised(int x1, int y1, int x2, int y2) {
    const int l = clampDevice(x1), t = clampDevice(y1), r = clampDevice(x2), b = clampDevice(y2);
    return RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
}

bool ropNeedsSource(DWORD rop) {
    return rop == SRCCOPY || rop == SRCAND || rop == SRCINVERT || rop == SRCPAINT;
}
bool ropWithoutSource(DWORD rop) {
    return rop == DSTINVERT || rop == BLACKNESS || rop == WHITENESS;
}

} // namespace

CDC::CDC() noexcept {
    m_state.penObject = CPen::stock(BLACK_PEN);
    m_state.brushObject = CBrush::stock(WHITE_BRUSH);
}

CDC::~CDC() = default;

void CDC::setCreated(bool created) noexcept {
    if (m_created && !created) {
        m_state = State{};
        m_state.penObject = CPen::stock(BLACK_PEN);
        m_state.brushObject = CBrush::stock(WHITE_BRUSH);
        m_saved.clear();
    }
    m_created = created;
}

BOOL CDC::DeleteDC() noexcept {
    if (!m_created) return FALSE;
    setCreated(false);
    return TRUE;
}

// ---- position and lines

CPoint CDC::MoveTo(int x, int y) noexcept {
    if (!m_created) return CPoint();
    const CPoint previous(m_state.position);
    m_state.position = POINT{clampDevice(x), clampDevice(y)};
    return previous;
}

CPoint CDC::GetCurrentPosition() const noexcept {
    return m_created ? CPoint(m_state.position) : CPoint();
}

BOOL CDC::LineTo(int x, int y) noexcept {
    if (!m_created) return FALSE;
    const POINT from = m_state.position;
    const POINT to{clampDevice(x), clampDevice(y)};
    Status st = Status::NothingToDo;
    if (canDrawLines() && (from.x != to.x || from.y != to.y))
        st = guarded([&] { return strokeSegment(from, to); });
    if (!QOR::detail::succeeded(st)) return FALSE;
    m_state.position = to; // GDI moves the position even when the pen draws nothing
    return TRUE;
}

std::span<const POINT> CDC::clampPoints(const POINT* points, std::size_t count) {
    const auto within = [](int v) { return v >= -QOR::kDeviceLimit && v <= QOR::kDeviceLimit; };
    if (std::all_of(points, points + count, [&](POINT p) { return within(p.x) && within(p.y); }))
        return {points, count};
    m_points.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        m_points[i] = POINT{clampDevice(points[i].x), clampDevice(points[i].y)};
    return m_points;
}

BOOL CDC::Polyline(const POINT* lpPoints, int nCount) noexcept {
    if (!m_created || !lpPoints || nCount < 2) return FALSE;
    if (!canDrawLines()) return TRUE;
    return toBool(guarded([&] { return polyline(clampPoints(lpPoints, std::size_t(nCount))); }));
}

// ---- filled shapes

BOOL CDC::Polygon(const POINT* lpPoints, int nCount) noexcept {
    return PolyPolygon(lpPoints, &nCount, 1);
}

BOOL CDC::PolyPolygon(const POINT* lpPoints, const int* lpPolyCounts, int nCount) noexcept {
    if (!m_created || !lpPoints || !lpPolyCounts || nCount <= 0) return FALSE;
    std::size_t total = 0;
    for (int i = 0; i < nCount; ++i) {
        if (lpPolyCounts[i] < 2) return FALSE;
        total += std::size_t(lpPolyCounts[i]);
    }
    if (!canDrawLines() && !canFill()) return TRUE;
    return toBool(guarded([&] {
        const std::span<const POINT> points = clampPoints(lpPoints, total);
        m_counts.assign(lpPolyCounts, lpPolyCounts + nCount);
        return polyPolygon(points, m_counts);
    }));
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) noexcept {
    if (!m_created) return FALSE;
    if (!canDrawLines() && !canFill()) return TRUE;
    const RECT box = normalised(x1, y1, x2, y2);
    return toBool(guarded([&] { return ellipse(box); }));
}

BOOL CDC::Ellipse(const RECT* lpRect) noexcept {
    return lpRect ? Ellipse(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom) : FALSE;
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) noexcept {
    if (!m_created) return FALSE;
    if (!canDrawLines() && !canFill()) return TRUE;
    const RECT box = normalised(x1, y1, x2, y2);
    return toBool(guarded([&] { return rectangle(box); }));
}

BOOL CDC::Rectangle(const RECT* lpRect) noexcept {
    return lpRect ? Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom) : FALSE;
}

BOOL CDC::FillSolidRect(const RECT* lpRect, COLORREF clr) noexcept {
    if (!m_created || !lpRect) return FALSE;
    clr &= 0x00FFFFFF;
    if (SetBkColor(clr) == CLR_INVALID) return FALSE;
    const RECT r = normalised(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    if (r.right <= r.left || r.bottom <= r.top) return TRUE;
    return toBool(guarded([&] { return fillSolidRect(r, clr); }));
}

BOOL CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) noexcept {
    const RECT r{x, y, clampDevice(std::int64_t(x) + cx), clampDevice(std::int64_t(y) + cy)};
    return FillSolidRect(&r, clr);
}

BOOL CDC::FillRect(const RECT* lpRect, CBrush* pBrush) noexcept {
    if (!m_created || !lpRect || !pBrush) return FALSE;
    LOGBRUSH log{};
    if (!pBrush->GetLogBrush(&log)) return FALSE;
    if (log.lbStyle == BS_NULL) return TRUE;
    // FillRect does not normalise: a reversed rect is empty.
    const RECT r{clampDevice(lpRect->left), clampDevice(lpRect->top), clampDevice(lpRect->right),
                 clampDevice(lpRect->bottom)};
    if (r.right <= r.left || r.bottom <= r.top) return TRUE;
    return toBool(guarded([&] { return fillSolidRect(r, log.lbColor); }));
}

// ---- pixels

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) noexcept {
    if (!m_created) return CLR_INVALID;
    COLORREF actual = CLR_INVALID;
    const Status st = guarded([&] {
        return setPixel(POINT{clampDevice(x), clampDevice(y)}, crColor & 0x00FFFFFF, actual);
    });
    return st == Status::Ok ? actual : CLR_INVALID;
}

BOOL CDC::SetPixelV(int x, int y, COLORREF crColor) noexcept {
    return SetPixel(x, y, crColor) != CLR_INVALID;
}

COLORREF CDC::GetPixel(int x, int y) const noexcept {
    if (!m_created) return CLR_INVALID;
    COLORREF color = CLR_INVALID;
    const Status st = guarded([&] { return getPixel(POINT{clampDevice(x), clampDevice(y)}, color); });
    return st == Status::Ok ? color : CLR_INVALID;
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) noexcept {
    if (!m_created || nWidth < 0 || nHeight < 0) return FALSE;
    const bool withSource = ropNeedsSource(dwRop);
    if (!withSource && !ropWithoutSource(dwRop)) return FALSE;
    // Work in 64 bits: the block may reach far outside either bitmap.
    std::int64_t dx0 = x, dy0 = y, dx1 = std::int64_t(x) + nWidth, dy1 = std::int64_t(y) + nHeight;
    std::int64_t sx0 = xSrc, sy0 = ySrc;
    if (withSource) {
        if (!pSrcDC || !pSrcDC->m_created || !pSrcDC->m_state.surface) return FALSE;
        const QOR::detail::Surface& s = *pSrcDC->m_state.surface;
        // Keep the part of the block that exists in the source.
        if (sx0 < 0) dx0 -= sx0, sx0 = 0;
        if (sy0 < 0) dy0 -= sy0, sy0 = 0;
        dx1 = std::min<std::int64_t>(dx1, dx0 + (s.width - sx0));
        dy1 = std::min<std::int64_t>(dy1, dy0 + (s.height - sy0));
    }
    // Clamp to the device limit, moving the source origin along with the destination's top-left corner.
    const std::int64_t cx0 = clampDevice(dx0), cy0 = clampDevice(dy0);
    sx0 += cx0 - dx0;
    sy0 += cy0 - dy0;
    const RECT dst{int(cx0), int(cy0), clampDevice(dx1), clampDevice(dy1)};
    if (dst.right <= dst.left || dst.bottom <= dst.top) return TRUE;
    return toBool(guarded([&] {
        if (!withSource) return bitBlt(dst, nullptr, POINT{0, 0}, dwRop);
        const QOR::detail::BlitSource src{*pSrcDC->m_state.surface, pSrcDC->m_state.attributes.bkColor,
                                          pSrcDC->m_state.attributes.textColor};
        return bitBlt(dst, &src, POINT{int(sx0), int(sy0)}, dwRop);
    }));
}

// ---- selection

CPen* CDC::SelectObject(CPen* pPen) noexcept {
    LOGPEN log{};
    if (!m_created || !pPen || !pPen->GetLogPen(&log)) return nullptr;
    if (guarded([&] { return selectPen(log, pPen->stockIndex()); }) != Status::Ok) return nullptr;
    CPen* previous = m_state.penObject;
    m_state.penObject = pPen;
    m_state.penLog = log;
    m_state.penStock = pPen->stockIndex();
    return previous;
}

CBrush* CDC::SelectObject(CBrush* pBrush) noexcept {
    LOGBRUSH log{};
    if (!m_created || !pBrush || !pBrush->GetLogBrush(&log)) return nullptr;
    if (guarded([&] { return selectBrush(log, pBrush->stockIndex()); }) != Status::Ok) return nullptr;
    CBrush* previous = m_state.brushObject;
    m_state.brushObject = pBrush;
    m_state.brushLog = log;
    m_state.brushStock = pBrush->stockIndex();
    return previous;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) noexcept {
    if (!m_created || !pBitmap || !pBitmap->surface()) return nullptr;
    if (guarded([&] { return selectBitmap(pBitmap->surface().get()); }) != Status::Ok) return nullptr;
    CBitmap* previous = m_state.bitmapObject;
    m_state.bitmapObject = pBitmap;
    m_state.surface = pBitmap->surface();
    return previous;
}

CGdiObject* CDC::SelectStockObject(int nIndex) noexcept {
    if (CPen* pen = CPen::stock(nIndex)) return SelectObject(pen);
    if (CBrush* brush = CBrush::stock(nIndex)) return SelectObject(brush);
    return nullptr;
}

CPen* CDC::GetCurrentPen() const noexcept {
    return m_created ? m_state.penObject : nullptr;
}
CBrush* CDC::GetCurrentBrush() const noexcept {
    return m_created ? m_state.brushObject : nullptr;
}
CBitmap* CDC::GetCurrentBitmap() const noexcept {
    return m_created ? m_state.bitmapObject : nullptr;
}

// ---- clipping

QOR::Region& CDC::spareClip() {
    if (!m_spareClips[0]) std::swap(m_spareClips[0], m_spareClips[1]);
    if (!m_spareClips[0]) m_spareClips[0] = std::make_shared<Region>();
    return *m_spareClips[0];
}

Status CDC::setClip(bool none) {
    const Status st = selectClip(none ? nullptr : m_spareClips[0].get());
    if (st != Status::Ok) return st;
    std::shared_ptr<Region> old = std::move(m_state.clip);
    if (!none) m_state.clip = std::move(m_spareClips[0]);
    // Only a clip no saved state holds may be written again. Two spares: selecting no clip between two
    // clips (as a frame begins) then keeps both buffers.
    if (old && old.use_count() == 1) (m_spareClips[0] ? m_spareClips[1] : m_spareClips[0]) = std::move(old);
    return Status::Ok;
}

int CDC::SelectClipRgn(CRgn* pRgn) noexcept {
    if (!m_created || (pRgn && !pRgn->isCreated())) return RGN_ERROR;
    const Status st = guarded([&] {
        if (pRgn) spareClip() = pRgn->region();
        return setClip(pRgn == nullptr);
    });
    if (st != Status::Ok) return RGN_ERROR;
    RECT box;
    return GetClipBox(&box);
}

int CDC::ExtSelectClipRgn(CRgn* pRgn, int nMode) noexcept {
    if (!m_created || nMode < RGN_AND || nMode > RGN_COPY) return RGN_ERROR;
    if (nMode == RGN_COPY) return SelectClipRgn(pRgn);
    if (!pRgn || !pRgn->isCreated()) return RGN_ERROR;
    const Status st = guarded([&] {
        const Region* current = m_state.clip.get();
        if (!current) {
            m_wholeClip.setRect(m_state.surface ? RECT{0, 0, m_state.surface->width, m_state.surface->height}
                                                : RECT{-QOR::kDeviceLimit, -QOR::kDeviceLimit,
                                                       QOR::kDeviceLimit, QOR::kDeviceLimit});
            current = &m_wholeClip;
        }
        Region::combine(*current, pRgn->region(), nMode, spareClip(), m_combineScratch);
        return setClip(false);
    });
    if (st != Status::Ok) return RGN_ERROR;
    RECT box;
    return GetClipBox(&box);
}

int CDC::GetClipBox(RECT* lpRect) const noexcept {
    if (!m_created || !lpRect) return RGN_ERROR;
    RECT box = m_state.clip
                   ? m_state.clip->bounds()
                   : RECT{-QOR::kDeviceLimit, -QOR::kDeviceLimit, QOR::kDeviceLimit, QOR::kDeviceLimit};
    int complexity = m_state.clip ? m_state.clip->complexity() : SIMPLEREGION;
    if (m_state.surface) {
        const RECT bits{0, 0, m_state.surface->width, m_state.surface->height};
        box = RECT{std::max(box.left, bits.left), std::max(box.top, bits.top),
                   std::min(box.right, bits.right), std::min(box.bottom, bits.bottom)};
    }
    if (box.right <= box.left || box.bottom <= box.top) {
        *lpRect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    *lpRect = box;
    return complexity;
}

// ---- attributes

template <class T>
T CDC::changeAttribute(T QOR::detail::DcAttributes::*field, T value, T failure) noexcept {
    if (!m_created) return failure;
    QOR::detail::DcAttributes a = m_state.attributes;
    a.*field = value;
    if (guarded([&] { return setAttributes(a); }) != Status::Ok) return failure;
    std::swap(a, m_state.attributes);
    return a.*field;
}

COLORREF CDC::SetBkColor(COLORREF crColor) noexcept {
    return changeAttribute(&QOR::detail::DcAttributes::bkColor, crColor & 0x00FFFFFF, CLR_INVALID);
}

COLORREF CDC::GetBkColor() const noexcept {
    return m_created ? m_state.attributes.bkColor : CLR_INVALID;
}

COLORREF CDC::SetTextColor(COLORREF crColor) noexcept {
    return changeAttribute(&QOR::detail::DcAttributes::textColor, crColor & 0x00FFFFFF, CLR_INVALID);
}

COLORREF CDC::GetTextColor() const noexcept {
    return m_created ? m_state.attributes.textColor : CLR_INVALID;
}

int CDC::SetBkMode(int nBkMode) noexcept {
    if (nBkMode != OPAQUE && nBkMode != TRANSPARENT) return 0;
    return changeAttribute(&QOR::detail::DcAttributes::bkMode, nBkMode, 0);
}

int CDC::GetBkMode() const noexcept {
    return m_created ? m_state.attributes.bkMode : 0;
}

int CDC::SetPolyFillMode(int nPolyFillMode) noexcept {
    if (nPolyFillMode != ALTERNATE && nPolyFillMode != WINDING) return 0;
    return changeAttribute(&QOR::detail::DcAttributes::polyFillMode, nPolyFillMode, 0);
}

int CDC::GetPolyFillMode() const noexcept {
    return m_created ? m_state.attributes.polyFillMode : 0;
}

// ---- saved states

int CDC::SaveDC() noexcept {
    if (!m_created || int(m_saved.size()) >= kMaxSavedStates) return 0;
    const Status st = guarded([&] {
        m_saved.push_back(m_state);
        return Status::Ok;
    });
    return st == Status::Ok ? int(m_saved.size()) : 0;
}

BOOL CDC::RestoreDC(int nSavedDC) noexcept {
    if (!m_created || nSavedDC == 0) return FALSE;
    const std::int64_t level =
        nSavedDC > 0 ? std::int64_t(nSavedDC) : std::int64_t(m_saved.size()) + 1 + nSavedDC;
    if (level < 1 || level > std::int64_t(m_saved.size())) return FALSE;
    State restored = std::move(m_saved[std::size_t(level - 1)]);
    m_saved.resize(std::size_t(level - 1));
    // Tell the backend about every part of the state; a failure here leaves the backend as it is, which
    // only a backend out of memory can cause.
    const Status st = guarded([&] {
        Status s = selectBitmap(restored.surface.get());
        if (s == Status::Ok) s = selectPen(restored.penLog, restored.penStock);
        if (s == Status::Ok) s = selectBrush(restored.brushLog, restored.brushStock);
        if (s == Status::Ok) s = selectClip(restored.clip.get());
        if (s == Status::Ok) s = setAttributes(restored.attributes);
        return s;
    });
    m_state = std::move(restored);
    return st == Status::Ok ? TRUE : FALSE;
}
