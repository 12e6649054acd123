// Picking: the top-most point, polyline or region boundary near a window point.

#include "gdx/gdx_p.h"

namespace {

bool polylineHit(const CQorVertexArray& vl, const CQorPoint3d& q) {
    for (const CQorVertex& v : vl) {
        if (v.start == v.end) continue;
        if (v.lotp(q).distanceTo(q) <= CQorGDX::kPickTol) return true;
    }
    return false;
}

} // namespace

int CQorGDX::imageItemGet(const CQorPoint3d& p) {
    const CQorPoint3d q = imagePtWc(p);
    displListSort();
    m_list.revert();
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
