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

bool EllipseRows::outline(int y, int& x0, int& x1, int& x2, int& x3) const noexcept {
    int l = 0, r = 0;
    if (!row(y, l, r)) return false;
    // The inner part has inside pixels left, right, above and below it.
    int il = l + 1, ir = r - 1;
    int nl = 0, nr = 0;
    if (y > INT32_MIN && row(y - 1, nl, nr)) {
        il = std::max(il, nl);
        ir = std::min(ir, nr);
    } else {
        ir = il;
    }
    if (y < INT32_MAX && row(y + 1, nl, nr)) {
        il = std::max(il, nl);
        ir = std::min(ir, nr);
    } else {
        ir = il;
    }
    if (ir <= il) { // no inner part: the whole row is outline
        x0 = l;
        x1 = r;
        x2 = x3 = r;
        return true;
    }
    x0 = l;
    x1 = il;
    x2 = ir;
    x3 = r;
    return true;
}

} // namespace QOR::detail
