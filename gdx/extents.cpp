// Keeping the extents: widening by one item and recomputing from every item.

#include <cstring>

#include "qor/gdx/gdx_p.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/geom/arc_math.h"

namespace QOR::detail {

bool isIdentity(const CQorMatrix3d& m) noexcept {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (m.entry[i][j] != (i == j ? 1.0 : 0.0)) return false;
    return true;
}

void boundPolyline(const CQorVertexArray& vl, const CQorMatrix3d& m, Bounds& b, CQorVertexArray& scratch) {
    if (vl.isEmpty()) return;
    if (!vl.hasArcs()) {
        // The box of a straight polyline is the box of its end points, which transform one by one.
        for (const CQorVertex& v : vl) {
            b.add(m.apply(v.start));
            b.add(m.apply(v.end));
        }
        return;
    }
    // Arcs bulge beyond their end points: bound the transformed copy exactly.
    scratch = vl;
    scratch.transformBy(m);
    CQorPoint3d lo, hi;
    if (!scratch.extents(lo, hi)) return;
    b.add(lo);
    b.add(hi);
}

void boundItem(const CQorDisplayItem& item, const CQorMatrix3d& m, Bounds& b, CQorVertexArray& scratch) {
    switch (item.m_type) {
    case QorDisplayPt:
        b.add(m.apply(item.m_point));
        break;
    case QorDisplayVl:
        boundPolyline(item.m_vl, m, b, scratch);
        break;
    case QorDisplayReg:
        if (!item.m_regions.isEmpty()) boundPolyline(item.m_regions.data()[0], m, b, scratch);
        break;
    case QorDisplayTxt:
        for (const CQorArrayTempl<CQorVertexArray>& group : item.m_strokes)
            if (!group.isEmpty()) boundPolyline(group.data()[0], m, b, scratch);
        break;
    default:
        break;
    }
}

} // namespace QOR::detail

namespace {

/// projection * view direction * item matrix, recomputed only when the item matrix differs from the
/// previous item's: objects put all their items under one matrix, so most items reuse the product.
class ChainCache {
public:
    explicit ChainCache(const CQorMatrix3d& base) : m_base(base), m_product(base) {}
    const CQorMatrix3d& operator()(const CQorMatrix3d& item) {
        if (std::memcmp(&item, &m_item, sizeof(CQorMatrix3d)) != 0) {
            m_item = item;
            m_product = m_base * item;
        }
        return m_product;
    }

private:
    CQorMatrix3d m_base;
    CQorMatrix3d m_item; // identity at first, matching m_product = m_base
    CQorMatrix3d m_product;
};

} // namespace

void CQorGDX::setExtents(bool any, const CQorPoint3d& min, const CQorPoint3d& max) {
    if (!any) {
        m_extents.clear();
        return;
    }
    m_extents.setLogicalLength(2);
    m_extents.data()[0] = min;
    m_extents.data()[1] = max;
}

// The public setters that recompute the extents promise not to throw: without memory for the work the
// extents stay as they were, and the failure is reported once.
void CQorGDX::refresh_ext() {
    QOR::detail::guardedAt("CQorGDX extents", false, [&] {
        QOR::detail::Bounds b;
        CQorVertexArray scratch;
        ChainCache chain(m_projMtx * m_viewDirMtx);
        for (const CQorDisplayItem& item : m_list) {
            if (item.m_flags & QOR::detail::kNoExtentsFlags) continue;
            QOR::detail::boundItem(item, chain(item.m_mtx), b, scratch);
        }
        m_extents.reserve(2);
        setExtents(b.any, b.lo, b.hi);
        return true;
    });
}

void CQorGDX::refresh_ext(const CQorPoint3d& p, const CQorMatrix3d& mtx) {
    QOR::detail::Bounds b;
    if (m_extents.len() == 2) {
        b.add(m_extents.data()[0]);
        b.add(m_extents.data()[1]);
    }
    b.add((m_projMtx * m_viewDirMtx * mtx).apply(p));
    QOR::detail::guardedAt("CQorGDX extents", false, [&] {
        setExtents(b.any, b.lo, b.hi);
        return true;
    });
}

void CQorGDX::refresh_ext(const CQorVertexArray& vl, const CQorMatrix3d& mtx) {
    QOR::detail::Bounds b;
    if (m_extents.len() == 2) {
        b.add(m_extents.data()[0]);
        b.add(m_extents.data()[1]);
    }
    QOR::detail::guardedAt("CQorGDX extents", false, [&] {
        CQorVertexArray scratch;
        QOR::detail::boundPolyline(vl, m_projMtx * m_viewDirMtx * mtx, b, scratch);
        m_extents.reserve(2);
        setExtents(b.any, b.lo, b.hi);
        return true;
    });
}

bool CQorGDX::extmaxGet(CQorPoint3d& min, CQorPoint3d& max) const {
    if (m_extents.len() != 2) return false;
    min = m_extents.data()[0];
    max = m_extents.data()[1];
    return true;
}

bool CQorGDX::extmaxGet(const Path& path, CQorPoint3d& min, CQorPoint3d& max) const {
    if (path.isEmpty()) return false;
    QOR::detail::Bounds b;
    CQorVertexArray scratch;
    ChainCache chain(m_projMtx * m_viewDirMtx);
    bool matched = false;
    for (const CQorDisplayItem& item : m_list) {
        if (!QOR::detail::isUnder(item.m_stack, path)) continue;
        if (item.m_flags & QOR::detail::kNoExtentsFlags) continue;
        matched = true;
        QOR::detail::boundItem(item, chain(item.m_mtx), b, scratch);
    }
    if (b.any) {
        min = QOR::p_min(min, b.lo);
        max = QOR::p_max(max, b.hi);
    }
    return matched;
}
