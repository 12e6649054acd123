// Items outside the window: a zoomed-in view shows a small part of a large list, and an item whose
// geometry lands wholly outside the pixels need not be dashed, split into chords or traced at all.
#include <algorithm>
#include <cmath>

#include "qor/render/render_p.h"

namespace QOR::render {

void ModelBox::add(const CQorPoint3d& p, double grow) {
    const double c[3] = {p.x, p.y, p.z};
    for (int k = 0; k < 3; ++k) {
        lo[k] = std::min(lo[k], c[k] - grow);
        hi[k] = std::max(hi[k], c[k] + grow);
    }
    sum += (p.x + p.y + p.z) * 0.0 + grow * 0.0;
}

void ModelBox::add(const CQorVertex& vx) {
    add(vx.start);
    add(vx.end);
    if (!vx.isArc()) return;
    const double chord = vx.start.distanceTo(vx.end);
    const double b = std::fabs(vx.bulge);
    // Up to a half circle the arc lies inside the circle on its chord; beyond, within the distance
    // from the chord's middle to the centre (|r - s|) plus the radius r, s being the arc's height.
    double reach = chord / 2.0;
    if (b > 1.0) {
        const double s = b * chord / 2.0, r = chord * (1.0 + b * b) / (4.0 * b);
        reach = std::fabs(r - s) + r;
    }
    add(CQorPoint3d((vx.start.x + vx.end.x) / 2.0, (vx.start.y + vx.end.y) / 2.0,
                    (vx.start.z + vx.end.z) / 2.0),
        reach);
}

void ModelBox::add(const CQorVertexArray& vl) {
    for (const CQorVertex& vx : vl)
        add(vx);
}

bool isAffine(const CQorMatrix3d& m) {
    return m.entry[3][0] == 0.0 && m.entry[3][1] == 0.0 && m.entry[3][2] == 0.0 && m.entry[3][3] == 1.0;
}

BoxPlacer::BoxPlacer(const CQorMatrix3d& m, const ModelBox& within) noexcept {
    // The rounding error of placing a point is a few units in the last place of the largest term that
    // makes its coordinate; no term of a point inside `within` exceeds the ones below.
    double terms = 0.0;
    for (int k = 0; k < 2; ++k) {
        double sum = std::fabs(m.entry[k][3]);
        for (int i = 0; i < 4; ++i)
            m_row[k][i] = m.entry[k][i];
        for (int i = 0; i < 3; ++i) {
            m_abs[k][i] = std::fabs(m.entry[k][i]);
            sum += m_abs[k][i] * std::max(std::fabs(within.lo[i]), std::fabs(within.hi[i]));
        }
        terms = std::max(terms, sum);
    }
    m_slack = terms * 1e-13;
}

bool BoxPlacer::place(const ModelBox& box, double lo[2], double hi[2]) const noexcept {
    // The centre placed, plus and minus the half extents the matrix gives the box: a fraction of the cost
    // of placing its corners.
    const double centre[3] = {(box.lo[0] + box.hi[0]) / 2.0, (box.lo[1] + box.hi[1]) / 2.0,
                              (box.lo[2] + box.hi[2]) / 2.0};
    const double half[3] = {(box.hi[0] - box.lo[0]) / 2.0, (box.hi[1] - box.lo[1]) / 2.0,
                            (box.hi[2] - box.lo[2]) / 2.0};
    for (int k = 0; k < 2; ++k) {
        const double* row = m_row[k];
        const double c = row[0] * centre[0] + row[1] * centre[1] + row[2] * centre[2] + row[3];
        const double h = m_abs[k][0] * half[0] + m_abs[k][1] * half[1] + m_abs[k][2] * half[2];
        lo[k] = c - h;
        hi[k] = c + h;
        if (!std::isfinite(lo[k]) || !std::isfinite(hi[k])) return false;
    }
    return true;
}

DeviceBounds BoxPlacer::deviceBounds(const ModelBox& box) const noexcept {
    double lo[2], hi[2];
    if (!place(box, lo, hi)) return DeviceBounds{-kDeviceLimit, -kDeviceLimit, kDeviceLimit, kDeviceLimit};
    // A point inside the box may land a few units in the last place beyond the placed box; truncation
    // is monotonic, so the widened box bounds its device point.
    return DeviceBounds{deviceCoord(lo[0] - m_slack), deviceCoord(lo[1] - m_slack),
                        deviceCoord(hi[0] + m_slack), deviceCoord(hi[1] + m_slack)};
}

bool BoxPlacer::missesWindow(const Frame& frame, const ModelBox& box, double margin) const noexcept {
    double lo[2], hi[2];
    if (!place(box, lo, hi)) return false;
    return hi[0] < -margin || hi[1] < -margin || lo[0] >= frame.width + margin ||
           lo[1] >= frame.height + margin;
}

bool missesWindow(const Frame& frame, const ModelBox& box, const CQorMatrix3d& m, double margin) {
    return BoxPlacer(m, box).missesWindow(frame, box, margin);
}

bool mayReachWindow(const Frame& frame, int item, const ItemStyle& style) {
    if (!frame.window()) return true; // a metafile keeps every record, seen or not
    const CQorDisplayItem& it = frame.item(item);
    const CQorMatrix3d& v = frame.gdx.viewDirectionMtxGet();
    const CQorMatrix3d& m = it.m_mtx;
    if (!isAffine(style.base) || !isAffine(v) || !isAffine(m)) return true;
    ModelBox box;
    switch (it.m_type) {
    case QorDisplayVl:
        // A kept path has taken the view direction already.
        if (const PreparedPolyline* kept = keptPolyline(frame, item)) {
            return !missesWindow(frame, kept->bounds, style.base * m,
                                 kCullMargin + std::max(0, frame.gdx.thicknGet(item)));
        }
        box.add(it.m_vl);
        break;
    case QorDisplayReg:
        if (const PreparedRegion* kept = keptRegion(frame, item)) {
            box = kept->bounds;
            break;
        }
        for (const CQorVertexArray& loop : it.m_regions)
            box.add(loop);
        break;
    default:
        // Points and pictures cost little and are placed otherwise. Texts hold many short stroke loops:
        // bounding them costs as much as placing them, so they are bounded once prepared (draw_text.cpp).
        return true;
    }
    if (box.hasNaN()) return true;
    if (box.isEmpty()) return false; // no geometry: nothing is drawn
    const double margin = kCullMargin + std::max(0, frame.gdx.thicknGet(item));
    // Polylines and outlines take the view direction before the item matrix, fills after it.
    const bool outlined =
        it.m_type == QorDisplayVl || (it.m_type == QorDisplayReg && (it.m_flags & GdxItemOutline));
    const bool filled = it.m_type != QorDisplayVl;
    if (outlined && !missesWindow(frame, box, style.base * m * v, margin)) return true;
    if (filled && !missesWindow(frame, box, style.base * v * m, margin)) return true;
    return false;
}

} // namespace QOR::render
