#include "qor/platform/region.h"

#include <algorithm>

#include "qor/kernel/base/status.h"
#include "qor/platform/device_coord_p.h"

namespace QOR {

namespace {

bool applyOp(int op, bool inA, bool inB) {
    switch (op) {
    case RGN_AND:
        return inA && inB;
    case RGN_OR:
        return inA || inB;
    case RGN_XOR:
        return inA != inB;
    case RGN_DIFF:
        return inA && !inB;
    default:
        return inA;
    }
}

// Combines two interval lists (pairs x0, x1) into out by op. Boundaries at the same x are taken together,
// so the result has neither empty nor touching intervals.
void combineIntervals(std::span<const int> a, std::span<const int> b, int op, std::vector<int>& out) {
    out.clear();
    std::size_t i = 0, j = 0;
    bool inA = false, inB = false, in = false;
    while (i < a.size() || j < b.size()) {
        const int x = (j >= b.size() || (i < a.size() && a[i] <= b[j])) ? a[i] : b[j];
        while (i < a.size() && a[i] == x) {
            inA = !inA;
            ++i;
        }
        while (j < b.size() && b[j] == x) {
            inB = !inB;
            ++j;
        }
        const bool now = applyOp(op, inA, inB);
        if (now != in) {
            out.push_back(x);
            in = now;
        }
    }
}

} // namespace

void Region::setEmpty() noexcept {
    m_bands.clear();
    m_xs.clear();
}

void Region::setRect(const RECT& r) {
    setEmpty();
    const int l = clampDevice(r.left), t = clampDevice(r.top);
    const int rt = clampDevice(r.right), b = clampDevice(r.bottom);
    if (rt <= l || b <= t) return;
    const int xs[2] = {l, rt};
    addRows(t, b, xs);
}

void Region::setPolygons(std::span<const POINT> points, std::span<const int> counts, int fillMode,
                         detail::ScanFill& scratch) {
    setEmpty();
    if (!scratch.begin(points, counts, fillMode, -detail::kRegionRowLimit, detail::kRegionRowLimit)) return;
    int y = 0;
    std::span<const int> spans;
    while (scratch.nextRow(y, spans))
        addRows(y, y + 1, spans);
}

void Region::addRows(int y0, int y1, std::span<const int> spans) {
    if (spans.empty() || y1 <= y0) return;
    if (!m_bands.empty()) {
        Band& last = m_bands.back();
        if (last.y1 == y0 && std::size_t(last.count) * 2 == spans.size() &&
            std::equal(spans.begin(), spans.end(), m_xs.begin() + last.first)) {
            last.y1 = y1;
            return;
        }
    }
    m_bands.push_back({y0, y1, int(m_xs.size()), int(spans.size() / 2)});
    m_xs.insert(m_xs.end(), spans.begin(), spans.end());
}

bool Region::combine(const Region& a, const Region& b, int op, Region& out) {
    if (op < RGN_AND || op > RGN_COPY) return false;
    if (op == RGN_COPY) {
        if (&out != &a) out = a;
        return true;
    }
    CombineScratch scratch;
    Region result;
    combine(a, b, op, result, scratch);
    out = std::move(result);
    return true;
}

bool Region::combine(const Region& a, const Region& b, int op, Region& out, CombineScratch& scratch) {
    if (op < RGN_AND || op > RGN_COPY) return false;
    if (op == RGN_COPY) {
        out = a;
        return true;
    }
    std::vector<int>& ys = scratch.ys;
    ys.clear();
    for (const Band& band : a.m_bands)
        ys.insert(ys.end(), {band.y0, band.y1});
    for (const Band& band : b.m_bands)
        ys.insert(ys.end(), {band.y0, band.y1});
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    out.setEmpty();
    std::size_t ia = 0, ib = 0;
    for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
        const int y = ys[k];
        while (ia < a.m_bands.size() && a.m_bands[ia].y1 <= y)
            ++ia;
        while (ib < b.m_bands.size() && b.m_bands[ib].y1 <= y)
            ++ib;
        std::span<const int> sa, sb;
        if (ia < a.m_bands.size() && a.m_bands[ia].y0 <= y) {
            const Band& band = a.m_bands[ia];
            sa = std::span<const int>(a.m_xs).subspan(std::size_t(band.first), std::size_t(band.count) * 2);
        }
        if (ib < b.m_bands.size() && b.m_bands[ib].y0 <= y) {
            const Band& band = b.m_bands[ib];
            sb = std::span<const int>(b.m_xs).subspan(std::size_t(band.first), std::size_t(band.count) * 2);
        }
        combineIntervals(sa, sb, op, scratch.row);
        out.addRows(y, ys[k + 1], scratch.row);
    }
    return true;
}

void Region::offset(int dx, int dy) {
    Region moved;
    std::vector<int> row;
    for (const Band& band : m_bands) {
        const int y0 = clampDevice(std::int64_t(band.y0) + dy);
        const int y1 = clampDevice(std::int64_t(band.y1) + dy);
        if (y1 <= y0) continue;
        row.clear();
        for (int i = 0; i < band.count; ++i) {
            const int x0 = clampDevice(std::int64_t(m_xs[std::size_t(band.first + 2 * i)]) + dx);
            const int x1 = clampDevice(std::int64_t(m_xs[std::size_t(band.first + 2 * i + 1)]) + dx);
            if (x1 > x0) row.insert(row.end(), {x0, x1});
        }
        moved.addRows(y0, y1, row);
    }
    *this = std::move(moved);
}

RECT Region::bounds() const noexcept {
    if (m_bands.empty()) return RECT{0, 0, 0, 0};
    RECT r{INT32_MAX, m_bands.front().y0, INT32_MIN, m_bands.back().y1};
    for (const Band& band : m_bands) {
        r.left = std::min(r.left, m_xs[std::size_t(band.first)]);
        r.right = std::max(r.right, m_xs[std::size_t(band.first + 2 * band.count - 1)]);
    }
    return r;
}

int Region::complexity() const noexcept {
    if (m_bands.empty()) return NULLREGION;
    return m_bands.size() == 1 && m_bands.front().count == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int Region::bandOf(int y, int hint) const noexcept {
    if (hint >= 0 && std::size_t(hint) < m_bands.size()) {
        const Band& b = m_bands[std::size_t(hint)];
        if (b.y0 <= y && y < b.y1) return hint;
    }
    const auto it =
        std::upper_bound(m_bands.begin(), m_bands.end(), y, [](int v, const Band& b) { return v < b.y1; });
    if (it == m_bands.end() || it->y0 > y) return -1;
    return int(it - m_bands.begin());
}

bool Region::contains(int x, int y) const noexcept {
    const int index = bandOf(y);
    if (index < 0) return false;
    const Band& b = m_bands[std::size_t(index)];
    for (int i = 0; i < b.count; ++i) {
        if (x < m_xs[std::size_t(b.first + 2 * i)]) return false;
        if (x < m_xs[std::size_t(b.first + 2 * i + 1)]) return true;
    }
    return false;
}

bool Region::operator==(const Region& o) const noexcept {
    if (m_bands.size() != o.m_bands.size() || m_xs.size() != o.m_xs.size()) return false;
    for (std::size_t i = 0; i < m_bands.size(); ++i) {
        const Band &a = m_bands[i], &b = o.m_bands[i];
        if (a.y0 != b.y0 || a.y1 != b.y1 || a.count != b.count) return false;
    }
    return m_xs == o.m_xs;
}

void Region::rects(std::vector<RECT>& out) const {
    out.clear();
    for (const Band& b : m_bands)
        for (int i = 0; i < b.count; ++i)
            out.push_back(
                {m_xs[std::size_t(b.first + 2 * i)], b.y0, m_xs[std::size_t(b.first + 2 * i + 1)], b.y1});
}

} // namespace QOR

using QOR::Region;
using QOR::detail::guarded;
using QOR::detail::Status;

CRgn::~CRgn() = default;

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) noexcept {
    const RECT r{x1, y1, x2, y2};
    return CreateRectRgnIndirect(&r);
}

BOOL CRgn::CreateRectRgnIndirect(const RECT* lpRect) noexcept {
    if (m_created || !lpRect) return FALSE;
    // GDI takes the corners in either order.
    const RECT r{std::min(lpRect->left, lpRect->right), std::min(lpRect->top, lpRect->bottom),
                 std::max(lpRect->left, lpRect->right), std::max(lpRect->top, lpRect->bottom)};
    const Status st = guarded([&] {
        m_region.setRect(r);
        return Status::Ok;
    });
    m_created = st == Status::Ok;
    return m_created ? TRUE : FALSE;
}

BOOL CRgn::CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode) noexcept {
    return CreatePolyPolygonRgn(lpPoints, &nCount, 1, nMode);
}

BOOL CRgn::CreatePolyPolygonRgn(const POINT* lpPoints, const int* lpPolyCounts, int nCount,
                                int nPolyFillMode) noexcept {
    if (m_created || !lpPoints || !lpPolyCounts || nCount <= 0) return FALSE;
    if (nPolyFillMode != ALTERNATE && nPolyFillMode != WINDING) return FALSE;
    std::size_t total = 0;
    for (int i = 0; i < nCount; ++i) {
        if (lpPolyCounts[i] < 2) return FALSE;
        total += std::size_t(lpPolyCounts[i]);
    }
    const Status st = guarded([&] {
        // Each thread keeps its buffers: a renderer cuts a region for every hole it fills.
        thread_local std::vector<POINT> pts;
        thread_local QOR::detail::ScanFill scan;
        pts.assign(lpPoints, lpPoints + total);
        for (POINT& p : pts)
            p = {QOR::clampDevice(p.x), QOR::clampDevice(p.y)};
        m_region.setPolygons(pts, std::span<const int>(lpPolyCounts, std::size_t(nCount)), nPolyFillMode,
                             scan);
        return Status::Ok;
    });
    m_created = st == Status::Ok;
    return m_created ? TRUE : FALSE;
}

int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) noexcept {
    if (!pRgn1 || !pRgn1->m_created) return RGN_ERROR;
    if (nCombineMode != RGN_COPY && (!pRgn2 || !pRgn2->m_created)) return RGN_ERROR;
    const Region& b = nCombineMode == RGN_COPY ? pRgn1->m_region : pRgn2->m_region;
    bool ok = false;
    const Status st = guarded([&] {
        ok = Region::combine(pRgn1->m_region, b, nCombineMode, m_region);
        return Status::Ok;
    });
    if (st != Status::Ok || !ok) return RGN_ERROR;
    m_created = true;
    return m_region.complexity();
}

int CRgn::CopyRgn(const CRgn* pRgnSrc) noexcept {
    return CombineRgn(pRgnSrc, nullptr, RGN_COPY);
}

int CRgn::OffsetRgn(int x, int y) noexcept {
    if (!m_created) return RGN_ERROR;
    const Status st = guarded([&] {
        m_region.offset(x, y);
        return Status::Ok;
    });
    return st == Status::Ok ? m_region.complexity() : RGN_ERROR;
}

int CRgn::GetRgnBox(RECT* lpRect) const noexcept {
    if (!m_created || !lpRect) return RGN_ERROR;
    *lpRect = m_region.bounds();
    return m_region.complexity();
}

BOOL CRgn::PtInRegion(int x, int y) const noexcept {
    return m_created && m_region.contains(x, y) ? TRUE : FALSE;
}

BOOL CRgn::EqualRgn(const CRgn* pRgn) const noexcept {
    return m_created && pRgn && pRgn->m_created && m_region == pRgn->m_region ? TRUE : FALSE;
}

BOOL CRgn::SetRectRgn(int x1, int y1, int x2, int y2) noexcept {
    if (!m_created) return FALSE;
    const RECT r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    return guarded([&] {
               m_region.setRect(r);
               return Status::Ok;
           }) == Status::Ok
               ? TRUE
               : FALSE;
}

BOOL CRgn::DeleteObject() noexcept {
    if (!m_created) return FALSE;
    m_region.setEmpty();
    m_created = false;
    return TRUE;
}
