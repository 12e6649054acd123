#include "qor/platform/raster/scan_fill.h"

#include <algorithm>

#include "qor/platform/gdi_consts.h"

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
    m_order.clear();
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
            POINT b = poly[i + 1 < poly.size() ? i + 1 : 0];
            if (a.y == b.y) continue; // horizontal: never crosses a pixel centre
            int winding = 1;
            if (a.y > b.y) {
                std::swap(a, b);
                winding = -1;
            }
            // Rows y with a.y <= y + 0.5 < b.y, which for integers is a.y <= y < b.y.
            if (b.y <= rowBegin || a.y >= rowEnd) continue;
            m_edges.push_back(Edge{std::max<int>(a.y, rowBegin), std::min<int>(b.y, rowEnd), a.y, winding,
                                   a.x, std::int64_t(b.x) - a.x, 2 * (std::int64_t(b.y) - a.y)});
        }
    }
    if (m_edges.empty()) return false;
    std::sort(m_edges.begin(), m_edges.end(), [](const Edge& l, const Edge& r) { return l.yTop < r.yTop; });
    return true;
}

// The crossing at row y lies at xc = x0 + (y - y0) * dx / (y1 - y0); the first pixel at or right of it is
// ceil(xc) = x0 + ceil(N / den) with N = 2 (y - y0) dx and den = 2 (y1 - y0); N grows by 2 dx per row.
// (The factor 2 keeps den even for the carry arithmetic below.) N stays below 2^58 for clamped
// coordinates.
ScanFill::Active ScanFill::start(const Edge& e, int y) const {
    const std::int64_t n = (2 * std::int64_t(y) - 2 * std::int64_t(e.y0)) * e.dx;
    const std::int64_t q = floorDiv(n, e.den);
    const std::int64_t stepQ = floorDiv(2 * e.dx, e.den);
    return Active{int(e.x0 + q), int(n - q * e.den), int(e.den), int(stepQ), int(2 * e.dx - stepQ * e.den),
                  e.yEnd,        e.winding};
}

void ScanFill::buildSpans() {
    m_spans.clear();
    const std::size_t n = m_order.size();
    const auto keyAt = [&](std::size_t i) { return int(std::uint32_t(m_order[i] >> 32) ^ 0x80000000u); };
    const auto add = [&](int x0, int x1) {
        if (x1 <= x0) return;
        if (!m_spans.empty() && m_spans.back() >= x0) {
            m_spans.back() = std::max(m_spans.back(), x1);
        } else {
            m_spans.push_back(x0);
            m_spans.push_back(x1);
        }
    };
    if (!m_winding) {
        for (std::size_t i = 0; i + 1 < n; i += 2)
            add(keyAt(i), keyAt(i + 1));
        return;
    }
    int winding = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        winding += m_active[std::uint32_t(m_order[i])].winding;
        if (winding != 0) add(keyAt(i), keyAt(i + 1));
    }
}

bool ScanFill::nextRow(int& y, std::span<const int>& spans) {
    while (m_y < m_rowEnd) {
        if (m_active.empty()) {
            if (m_nextEdge >= m_edges.size()) return false;
            m_y = std::max(m_y, m_edges[m_nextEdge].yTop); // skip empty rows
        }
        while (m_nextEdge < m_edges.size() && m_edges[m_nextEdge].yTop <= m_y) {
            m_active.push_back(start(m_edges[m_nextEdge++], m_y));
            m_order.push_back(m_active.size() - 1);
        }
        // Refresh the crossings in last row's order, which changes little from row to row, so insertion
        // sort is close to linear.
        for (std::uint64_t& entry : m_order) {
            const std::size_t index = std::uint32_t(entry);
            entry = orderEntry(m_active[index].key(), index);
        }
        for (std::size_t i = 1; i < m_order.size(); ++i) {
            const std::uint64_t e = m_order[i];
            std::size_t j = i;
            while (j > 0 && m_order[j - 1] > e) {
                m_order[j] = m_order[j - 1];
                --j;
            }
            m_order[j] = e;
        }
        const int row = m_y++;
        buildSpans();
        // Step to the next row; drop the edges that end here (rare: twice per polygon vertex at most).
        bool ended = false;
        for (Active& a : m_active) {
            if (a.yEnd <= m_y) {
                ended = true;
                continue;
            }
            // Branch-free carry: slopes are arbitrary, so a branch here would be mispredicted often.
            a.r += a.stepR;
            const int carry = a.r >= a.den ? 1 : 0;
            a.x += a.stepQ + carry;
            a.r -= a.den & -carry;
        }
        if (ended) dropEnded();
        if (!m_spans.empty()) {
            y = row;
            spans = m_spans;
            return true;
        }
    }
    return false;
}

void ScanFill::dropEnded() {
    // Renumber the kept edges and keep the order of the rest.
    m_renumber.resize(m_active.size());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_active.size(); ++i) {
        if (m_active[i].yEnd <= m_y) {
            m_renumber[i] = UINT32_MAX;
            continue;
        }
        m_renumber[i] = std::uint32_t(kept);
        m_active[kept++] = m_active[i];
    }
    m_active.resize(kept);
    std::size_t out = 0;
    for (const std::uint64_t entry : m_order) {
        const std::uint32_t index = m_renumber[std::uint32_t(entry)];
        if (index != UINT32_MAX) m_order[out++] = (entry & ~std::uint64_t(UINT32_MAX)) | index;
    }
    m_order.resize(out);
}

} // namespace QOR::detail
