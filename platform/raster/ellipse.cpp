#include "qor/platform/raster/ellipse_p.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace QOR::detail {

EllipseRows::EllipseRows(const RECT& box) noexcept
    : m_box(box), m_cx((double(box.left) + box.right) * 0.5), m_cy((double(box.top) + box.bottom) * 0.5),
      m_a((double(box.right) - box.left) * 0.5), m_b((double(box.bottom) - box.top) * 0.5) {}

bool EllipseRows::row(int y, int& x0, int& x1) const noexcept {
    if (y < m_box.top || y >= m_box.bottom || m_a <= 0 || m_b <= 0) return false;
    // Rows mirror about the centre: compute the upper half and reflect.
    const std::int64_t mirrored = std::int64_t(m_box.top) + m_box.bottom - 1 - y;
    const double yc = double(std::min<std::int64_t>(y, mirrored)) + 0.5;
    const double v = (yc - m_cy) / m_b;
    const double w = 1.0 - v * v;
    if (w < 0) return false;
    const double h = m_a * std::sqrt(w);
    const double left = std::max<double>(std::ceil(m_cx - h - 0.5), m_box.left);
    const std::int64_t l = std::int64_t(left);
    const std::int64_t r = std::int64_t(m_box.left) + m_box.right - l; // mirror of l, exclusive
    if (r <= l) return false;
    x0 = int(l);
    x1 = int(r);
    return true;
}

EllipseOutlineWalk::EllipseOutlineWalk(const EllipseRows& rows, int y) noexcept
    : m_rows(rows), m_y(y), m_above(rowAt(m_y - 1)), m_here(rowAt(m_y)), m_below(rowAt(m_y + 1)) {}

EllipseOutlineWalk::Row EllipseOutlineWalk::rowAt(long long y) const noexcept {
    Row row;
    if (y >= INT32_MIN && y <= INT32_MAX) row.inside = m_rows.row(int(y), row.left, row.right);
    return row;
}

bool EllipseOutlineWalk::next(int& x0, int& x1, int& x2, int& x3) noexcept {
    const Row here = m_here;
    if (here.inside) {
        // The inner part has inside pixels left, right, above and below it.
        int il = here.left + 1, ir = here.right - 1;
        for (const Row& next : {m_above, m_below}) {
            if (next.inside) {
                il = std::max(il, next.left);
                ir = std::min(ir, next.right);
            } else {
                ir = il;
            }
        }
        x0 = here.left;
        x3 = here.right;
        if (ir <= il) { // no inner part: the whole row is outline
            x1 = x2 = here.right;
        } else {
            x1 = il;
            x2 = ir;
        }
    }
    m_above = m_here;
    m_here = m_below;
    m_below = rowAt(++m_y + 1);
    return here.inside;
}

} // namespace QOR::detail
