// Items outside the window: a zoomed-in view shows a small part of a large list, and an item whose
// geometry lands wholly outside the pixels need not be dashed, split into chords or traced at all.
#include <algorithm>
#include <cmath>

#include "qor/render/render_p.h"

namespace QOR::render {

namespace {

/// Pixels around an item's device bounds that its drawing may still reach besides the pen's width:
/// truncation toward zero moves a point in (-1, 0) onto pixel 0, and a one-pixel piece or a point's
/// figure ends a pixel beyond the point that places it.
constexpr double kCullMargin = 2.0;

/// Bounds of model points, growing. A NaN coordinate leaves the bounds as they are but poisons sum, which
/// is how such an item is told apart (an infinite one too: inf - inf): it lands somewhere on the device.
struct Box {
    double lo[3] = {INFINITY, INFINITY, INFINITY};
    double hi[3] = {-INFINITY, -INFINITY, -INFINITY};
    double sum = 0.0;

    void add(const CQorPoint3d& p, double grow = 0.0) {
        const double c[3] = {p.x, p.y, p.z};
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], c[k] - grow);
            hi[k] = std::max(hi[k], c[k] + grow);
        }
        sum += (p.x + p.y + p.z) * 0.0 + grow * 0.0;
    }
    /// A segment: its end points; an arc: the sphere about its chord's middle that holds the whole arc,
    /// whatever plane it lies in.
    void add(const CQorVertex& vx) {
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
    void add(const CQorVertexArray& vl) {
        for (const CQorVertex& vx : vl)
            add(vx);
    }
    bool hasNaN() const { return std::isnan(sum); }
    bool isEmpty() const { return !(lo[0] <= hi[0]); }
};

bool isAffine(const CQorMatrix3d& m) {
    return m.entry[3][0] == 0.0 && m.entry[3][1] == 0.0 && m.entry[3][2] == 0.0 && m.entry[3][3] == 1.0;
}

/// True when the box placed by m misses [-margin, width + margin) x [-margin, height + margin). A NaN
/// anywhere never misses, so such items are drawn as before.
bool misses(const Box& box, const CQorMatrix3d& m, const Frame& frame, double margin) {
    double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
    for (int corner = 0; corner < 8; ++corner) {
        const CQorPoint3d p(corner & 1 ? box.hi[0] : box.lo[0], corner & 2 ? box.hi[1] : box.lo[1],
                            corner & 4 ? box.hi[2] : box.lo[2]);
        const CQorPoint3d d = m.apply(p);
        if (std::isnan(d.x) || std::isnan(d.y)) return false;
        lo[0] = std::min(lo[0], d.x);
        hi[0] = std::max(hi[0], d.x);
        lo[1] = std::min(lo[1], d.y);
        hi[1] = std::max(hi[1], d.y);
    }
    return hi[0] < -margin || hi[1] < -margin || lo[0] >= frame.width + margin ||
           lo[1] >= frame.height + margin;
}

} // namespace

bool mayReachWindow(const Frame& frame, int item, const ItemStyle& style) {
    if (!frame.window()) return true; // a metafile keeps every record, seen or not
    const CQorDisplayItem& it = frame.item(item);
    const CQorMatrix3d& v = frame.gdx.viewDirectionMtxGet();
    const CQorMatrix3d& m = it.m_mtx;
    if (!isAffine(style.base) || !isAffine(v) || !isAffine(m)) return true;
    Box box;
    switch (it.m_type) {
    case QorDisplayVl:
        box.add(it.m_vl);
        break;
    case QorDisplayReg:
        for (const CQorVertexArray& loop : it.m_regions)
            box.add(loop);
        break;
    default:
        // Points and pictures cost little and are placed otherwise. Texts hold many short stroke loops:
        // bounding them costs as much as placing them, and each glyph that misses the window is skipped
        // once placed (draw_text.cpp).
        return true;
    }
    if (box.hasNaN()) return true;
    if (box.isEmpty()) return false; // no geometry: nothing is drawn
    const double margin = kCullMargin + std::max(0, frame.gdx.thicknGet(item));
    // Polylines and outlines take the view direction before the item matrix, fills after it.
    const bool outlined =
        it.m_type == QorDisplayVl || (it.m_type == QorDisplayReg && (it.m_flags & GdxItemOutline));
    const bool filled = it.m_type != QorDisplayVl;
    if (outlined && !misses(box, style.base * m * v, frame, margin)) return true;
    if (filled && !misses(box, style.base * v * m, frame, margin)) return true;
    return false;
}

} // namespace QOR::render
