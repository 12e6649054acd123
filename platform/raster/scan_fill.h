#pragma once

// Polygon scan conversion: polygons in, half-open spans out, one row at a time.
//
// Conventions
//  - Vertices are device ints already clamped to kDeviceLimit (device_coord_p.h).
//  - Pixel (x, y) is sampled at the grid point (x, y), the point a line through pixel (x, y) passes, so
//    a filled polygon and its one-pixel outline meet without gaps. It is inside when that point is inside
//    by the fill rule: ALTERNATE (odd crossings) or WINDING (non-zero winding number).
//  - A sample point exactly on an edge is inside when the edge is a left or a top edge and outside when
//    it is a right or a bottom edge. So the square (0,0) (10,0) (10,10) (0,10) gives exactly
//    [0, 10) x [0, 10): right column and bottom row excluded.
//  - Spans are half-open [x0, x1), sorted, disjoint and not touching.
//  - Edge crossings are exact (64-bit integer steps), so the result does not depend on the row range
//    asked for.

#include <cstdint>
#include <span>
#include <vector>

#include "qor/platform/win_types.h"

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
    // An edge waiting for its first row: the exact crossing needs 64-bit arithmetic once, at the start.
    struct Edge {
        int yTop;         // first row whose sample points the edge crosses (later when the rows are clipped)
        int yEnd;         // first row below the edge
        int y0;           // y of the upper end point
        int winding;      // +1 downward, -1 upward
        std::int64_t x0;  // x of the upper end point
        std::int64_t dx;  // x of the lower end point - x0
        std::int64_t den; // 2 * (y1 - y0)
    };
    // An edge crossing the current row. Its crossing pixel is x + (r > 0); every field fits 32 bits for
    // clamped coordinates (|x| <= 2^27, den <= 2^29).
    struct Active {
        int x;
        int r; // 0 <= r < den
        int den;
        int stepQ; // floor(2 dx / den)
        int stepR; // 2 dx - stepQ * den
        int yEnd;
        int winding;
        int key() const { return x + (r > 0 ? 1 : 0); }
    };

    Active start(const Edge& e, int y) const;
    void buildSpans();
    void dropEnded();
    /// Index of an active edge in the low 32 bits, its crossing (biased to be unsigned) in the high ones,
    /// so sorting the numbers sorts the crossings.
    static std::uint64_t orderEntry(int key, std::size_t index) {
        return (std::uint64_t(std::uint32_t(key) ^ 0x80000000u) << 32) | index;
    }

    std::vector<Edge> m_edges;          // sorted by yTop
    std::vector<Active> m_active;       // in no particular order
    std::vector<std::uint64_t> m_order; // active edges sorted by crossing; kept from row to row
    std::vector<std::uint32_t> m_renumber;
    std::vector<int> m_spans;
    std::size_t m_nextEdge = 0;
    int m_y = 0;
    int m_rowEnd = 0;
    bool m_winding = false;
};

} // namespace QOR::detail
