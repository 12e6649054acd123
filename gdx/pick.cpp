// Picking: the top-most point, polyline or region boundary near a window point.

#include "qor/gdx/gdx_p.h"

namespace {

/// The point of a straight segment nearest to q: the foot of the perpendicular, clamped to the ends.
CQorPoint3d footOnLine(const CQorVertex& v, const CQorPoint3d& q) {
    const CQorVector3d d = v.end - v.start;
    const double t = (q - v.start).dot(d) / d.dot(d);
    if (!(t > 0.0)) return v.start;
    if (t >= 1.0) return v.end;
    return v.start + d * t;
}

bool polylineHit(const CQorVertexArray& vl, const CQorPoint3d& q) {
    for (const CQorVertex& v : vl) {
        if (v.start == v.end) continue;
        // Straight segments, the usual case, are measured here; arcs go to the vertex's own lotp.
        const CQorPoint3d foot = v.isArc() ? v.lotp(q) : footOnLine(v, q);
        if (foot.distanceTo(q) <= CQorGDX::kPickTol) return true;
    }
    return false;
}

} // namespace

int CQorGDX::imageItemGet(const CQorPoint3d& p) {
    const CQorPoint3d q = imagePtWc(p);
    displListSort();
    changeItems().revert();
    CQorVertexArray scratch;
    for (const CQorDisplayItem& item : m_list) {
        const bool moved = !QOR::detail::isIdentity(item.m_mtx);
        const CQorVertexArray* vl = nullptr;
        switch (item.m_type) {
        case QorDisplayPt:
            if ((moved ? item.m_mtx.apply(item.m_point) : item.m_point).distanceTo(q) <= kPickTol)
                return item.m_stack[0];
            continue;
        case QorDisplayVl:
            vl = &item.m_vl;
            break;
        case QorDisplayReg:
            if (item.m_regions.isEmpty()) continue;
            vl = item.m_regions.data();
            break;
        default:
            continue;
        }
        if (moved) {
            scratch = *vl;
            scratch.transformBy(item.m_mtx);
            vl = &scratch;
        }
        if (polylineHit(*vl, q)) return item.m_stack[0];
    }
    return -1;
}
