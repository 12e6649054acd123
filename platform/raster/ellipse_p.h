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

    /// The parts of row y that belong to the one-pixel outline: up to two spans, [x0, x1) and [x2, x3)
    /// (the second empty when x2 == x3). False when the row has no inside pixels.
    bool outline(int y, int& x0, int& x1, int& x2, int& x3) const noexcept;

private:
    RECT m_box;
    double m_cx, m_cy, m_a, m_b;
};

} // namespace QOR::detail
