#pragma once

// Rows of a filled ellipse.
//
// Conventions
//  - The box is a RECT in device space (right/bottom outside), normalised, corners clamped to
//    kDeviceLimit. The ellipse is the one inscribed in the box's pixel edges: centre ((l + r) / 2,
//    (t + b) / 2), half axes (r - l) / 2 and (b - t) / 2.
//  - Pixel (x, y) is inside when its centre (x + 0.5, y + 0.5) lies inside or on the ellipse. Each row is
//    one span, mirrored exactly about the box's centre in both directions, so the shape is symmetric
//    whatever the rounding.
//  - The outline of a one-pixel pen is the set of inside pixels with a 4-neighbour outside: a closed,
//    8-connected curve that never leaves the filled shape.

#include "qor/platform/win_types.h"

namespace QOR::detail {

class EllipseRows {
public:
    explicit EllipseRows(const RECT& box) noexcept;

    /// The inside pixels [x0, x1) of row y; false when the row has none (also outside the box).
    bool row(int y, int& x0, int& x1) const noexcept;

private:
    RECT m_box;
    double m_cx, m_cy, m_a, m_b;
};

/// The one-pixel outline of an ellipse row after row. A row's outline depends on the rows above and below
/// it: walking down, each row's inside pixels are found once.
class EllipseOutlineWalk {
public:
    /// Starts at row y.
    EllipseOutlineWalk(const EllipseRows& rows, int y) noexcept;

    /// The parts of the current row that belong to the outline, up to two spans, [x0, x1) and [x2, x3)
    /// (the second empty when x2 == x3); false when the row has no inside pixels. Then moves down a row.
    bool next(int& x0, int& x1, int& x2, int& x3) noexcept;

private:
    struct Row {
        bool inside = false;
        int left = 0, right = 0;
    };
    Row rowAt(long long y) const noexcept;

    const EllipseRows& m_rows;
    long long m_y;
    Row m_above, m_here, m_below;
};

} // namespace QOR::detail
