#include "qor/gdx/display_item.h"

#include <cmath>

namespace {

bool same(double a, double b) noexcept {
    return a == b || (std::isnan(a) && std::isnan(b));
}
bool same(int a, int b) noexcept {
    return a == b;
}
bool same(const CQorPoint3d& a, const CQorPoint3d& b) noexcept {
    return same(a.x, b.x) && same(a.y, b.y) && same(a.z, b.z);
}
bool same(const CQorVertex& a, const CQorVertex& b) noexcept {
    return same(a.start, b.start) && same(a.end, b.end) && same(a.bulge, b.bulge);
}
bool same(const CQorMatrix3d& a, const CQorMatrix3d& b) noexcept {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (!same(a.entry[i][j], b.entry[i][j])) return false;
    return true;
}
bool same(const QOR::CHatchProp& a, const QOR::CHatchProp& b) noexcept {
    return a.m_name == b.m_name && same(a.m_angle, b.m_angle) && same(a.m_scale, b.m_scale) &&
           a.m_double == b.m_double;
}

template <class T>
bool same(const CQorArrayTempl<T>& a, const CQorArrayTempl<T>& b) noexcept {
    if (a.len() != b.len()) return false;
    for (int i = 0; i < a.len(); ++i)
        if (!same(a.data()[i], b.data()[i])) return false;
    return true;
}

} // namespace

CQorDisplayItem::~CQorDisplayItem() = default;

bool CQorDisplayItem::operator==(const CQorDisplayItem& o) const noexcept {
    return m_type == o.m_type && m_flags == o.m_flags && same(m_stack, o.m_stack) && m_color == o.m_color &&
           same(m_linetype, o.m_linetype) && same(m_ltscale, o.m_ltscale) && same(m_point, o.m_point) &&
           m_pdMode == o.m_pdMode && same(m_pdSize, o.m_pdSize) && same<CQorVertex>(m_vl, o.m_vl) &&
           same(m_regions, o.m_regions) && same(m_mtx, o.m_mtx) && m_fcolor == o.m_fcolor &&
           m_thickness == o.m_thickness && same(m_hatch, o.m_hatch) && m_align == o.m_align &&
           m_text == o.m_text && same(m_strokes, o.m_strokes);
}
