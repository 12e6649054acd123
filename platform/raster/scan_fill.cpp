#include "platform/raster/scan_fill.h"

#include <algorithm>

#include "platform/gdi_consts.h"

namespace QOR::detail {

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { // b > 0
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

} // namespace

bool ScanFill::begin(std::span<const POINT> points, std::span<const int> counts, int fillMode, int rowBegin,
                     int rowEnd) {
    m_edges.clear();
    m_active.clear();
    m_nextEdge = 0;
    m_winding = fillMode == WINDING;
    m_y = rowBegin;
    m_rowEnd = rowEnd;
    if (rowBegin >= rowEnd) return false;

    std::size_t first = 0;
    for (const int count : counts) {
        if (count <= 0 || std::size_t(count) > points.size() - first) break;
        const std::span<const POINT> poly = points.subspan(first, std::size_t(count));
        first += std::size_t(count);
        for (std::size_t i = 0; i < poly.size(); ++i) {
            POINT a = poly[i];
            POINT b = poly[(i + 1) % poly.size()];
            if (a.y == b.y) continue; // horizontal: never crosses a pixel centre
            int winding = 1;
            if (a.y > b.y) {
                std::swap(a, b);
                winding = -1;
            }
            // Rows y with a.y <= y + 0.5 < b.y, which for integers is a.y <= y < b.y.
            if (b.y <= rowBegin || a.y >= rowEnd) continue;
            Edge e{};
            e.yTop = std::max<int>(a.y, rowBegin);
            e.yEnd = std::min<int>(b.y, rowEnd);
            e.winding = winding;
            e.x0 = a.x;
            e.dx = std::int64_t(b.x) - a.x;
            e.den = 2 * (std::int64_t(b.y) - a.y);
            e.stepQ = floorDiv(2 * e.dx, e.den);
            e.stepR = 2 * e.dx - e.stepQ * e.den;
            e.y0 = a.y;
            m_edges.push_back(e);
        }
    }
    if (m_edges.empty()) return false;
    std::sort(m_edges.begin(), m_edges.end(), [](const Edge& l, const Edge& r) { return l.yTop < r.yTop; });
    return true;
}

// The crossing at row y lies at xc = x0 + (y + 0.5 - y0) * dx / (y1 - y0). The first pixel whose centre is
// at or right of it is ceil(xc - 0.5) = x0 + ceil(N / den) with N = (2y + 1 - 2y0) * dx - (y1 - y0) and
// den = 2 (y1 - y0); N grows by 2 dx per row. All terms stay below 2^58 for clamped coordinates.
void ScanFill::startEdge(Edge& e, int y) const {
    const std::int64_t n = (2 * std::int64_t(y) + 1 - 2 * std::int64_t(e.y0)) * e.dx - e.den / 2;
    e.q = floorDiv(n, e.den);
    e.r = n - e.q * e.den;
}

bool ScanFill::buildSpans() {
    m_crossings.clear();
    for (const int index : m_active) {
        const Edge& e = m_edges[std::size_t(index)];
        m_crossings.push_back({int(e.x0 + e.q + (e.r > 0 ? 1 : 0)), e.winding});
    }
    // Crossings keep nearly the same order from row to row, so insertion sort is close to linear.
    for (std::size_t i = 1; i < m_crossings.size(); ++i) {
        const Crossing c = m_crossings[i];
        std::size_t j = i;
        while (j > 0 && m_crossings[j - 1].x > c.x) {
            m_crossings[j] = m_crossings[j - 1];
            --j;
        }
        m_crossings[j] = c;
    }
    m_spans.clear();
    int winding = 0;
    for (std::size_t i = 0; i + 1 < m_crossings.size(); ++i) {
        winding += m_winding ? m_crossings[i].winding : 1;
        const bool inside = m_winding ? winding != 0 : (winding & 1) != 0;
        const int x0 = m_crossings[i].x;
        const int x1 = m_crossings[i + 1].x;
        if (!inside || x1 <= x0) continue;
        if (!m_spans.empty() && m_spans.back() >= x0) {
            m_spans.back() = std::max(m_spans.back(), x1);
        } else {
            m_spans.push_back(x0);
            m_spans.push_back(x1);
        }
    }
    return !m_spans.empty();
}

bool ScanFill::nextRow(int& y, std::span<const int>& spans) {
    while (m_y < m_rowEnd) {
        // Drop finished edges, step the others to this row.
        std::size_t kept = 0;
        for (const int index : m_active) {
            Edge& e = m_edges[std::size_t(index)];
            if (e.yEnd <= m_y) continue;
            m_active[kept++] = index;
        }
        m_active.resize(kept);
        if (m_active.empty()) {
            if (m_nextEdge >= m_edges.size()) return false;
            m_y = std::max(m_y, m_edges[m_nextEdge].yTop); // skip empty rows
        }
        while (m_nextEdge < m_edges.size() && m_edges[m_nextEdge].yTop <= m_y) {
            Edge& e = m_edges[m_nextEdge];
            startEdge(e, m_y);
            m_active.push_back(int(m_nextEdge));
            ++m_nextEdge;
        }
        const int row = m_y;
        const bool any = buildSpans();
        ++m_y;
        for (const int index : m_active) {
            Edge& e = m_edges[std::size_t(index)];
            e.q += e.stepQ;
            e.r += e.stepR;
            if (e.r >= e.den) {
                e.r -= e.den;
                ++e.q;
            }
        }
        if (any) {
            y = row;
            spans = m_spans;
            return true;
        }
    }
    return false;
}

} // namespace QOR::detail
