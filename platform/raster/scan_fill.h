#pragma once

// Polygon scan conversion: polygons in, half-open spans out, one row at a time.
//
// Conventions
//  - Vertices are device ints already clamped to kDeviceLimit (device_coord.h) and name pixel corners:
//    the point (x, y) is the top-left corner of pixel (x, y).
//  - Pixel (x, y) is inside when its centre (x + 0.5, y + 0.5) is inside by the fill rule: ALTERNATE
//    (odd crossings) or WINDING (non-zero winding number).
//  - A centre exactly on an edge belongs to the pixel right of the edge: left edges are inside, right
//    edges outside. Horizontal edges never pass through a centre. So the square (0,0) (10,0) (10,10)
//    (0,10) gives exactly [0, 10) x [0, 10): right column and bottom row excluded.
//  - Spans are half-open [x0, x1), sorted, disjoint and not touching.
//  - Edge crossings are exact (64-bit integer steps), so the result does not depend on the row range
//    asked for.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/win_types.h"

namespace QOR::detail {

class ScanFill {
public:
    /// Prepares the edges of one or more closed polygons: counts[i] consecutive points of points form
    /// polygon i, its last point joined to its first. Counts that are not positive or that run past the
    /// points end the list. Only rows in [rowBegin, rowEnd) are produced. Returns false when no row can
    /// have spans. The buffers are kept for the next polygon.
    bool begin(std::span<const POINT> points, std::span<const int> counts, int fillMode, int rowBegin,
               int rowEnd);

    /// Advances to the next row that has spans. On true, y is that row and spans holds pairs x0, x1
    /// (valid until the next call). False when no row is left.
    bool nextRow(int& y, std::span<const int>& spans);

private:
    struct Edge {
        int yTop;           // first row whose centre the edge crosses
        int yEnd;           // first row below the edge
        int winding;        // +1 downward, -1 upward
        int y0;             // y of the upper end point (yTop is later when the rows are clipped)
        std::int64_t x0;    // x of the upper end point
        std::int64_t q;     // crossing of the current row = x0 + q + (r > 0)
        std::int64_t r;     // 0 <= r < den
        std::int64_t den;   // 2 * height of the edge
        std::int64_t dx;    // x1 - x0 (of the upper to the lower end point)
        std::int64_t stepQ; // floor(2 * dx / den)
        std::int64_t stepR; // 2 * dx - stepQ * den
    };
    struct Crossing {
        int x;
        int winding;
    };

    void startEdge(Edge& e, int y) const;
    bool buildSpans();

    std::vector<Edge> m_edges; // sorted by yTop
    std::vector<int> m_active; // indices into m_edges
    std::vector<Crossing> m_crossings;
    std::vector<int> m_spans;
    std::size_t m_nextEdge = 0;
    int m_y = 0;
    int m_rowEnd = 0;
    bool m_winding = false;
};

} // namespace QOR::detail
