#include <algorithm>
#include <cmath>
#include <utility>

#include "qor/kernel/base/status.h"
#include "qor/kernel/geom/arc_math.h"
#include "qor/kernel/geom/polyline_clip.h"
#include "qor/kernel/geom/polyline_measure.h"
#include "qor/kernel/geom/polyline_ops.h"
#include "qor/kernel/locale/units.h"
#include "qor/render/hatch.h"
#include "qor/render/hatch_p.h"
#include "qor/render/polyline_prep.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

/// Each hatch line runs on past the region's extent by this part of the extent, plus one drawing unit
/// for a region without width, so that its ends lie clearly outside every loop.
constexpr double kOverhangPart = 0.1;

/// One line family of a pattern, in its own frame: x along the lines, y across them, in the units of
/// pattern space (its origin too). Line i runs along y = origin.y + i * stepAcross, and its dash
/// pattern starts at x = origin.x + i * stepAlong.
struct Family {
    CQorMatrix3d toPattern; // family frame to pattern space: the turn by line angle + hatch angle
    CQorPoint3d origin;
    double stepAlong = 0.0;
    double stepAcross = 0.0; // >= 0; 0 means the family is the single line through origin
    CQorArrayTempl<double> dashes;
    double patternLength = 0.0; // one repeat of the dash array
};

/// The intersections of line with all loops, each once, sorted along the line; none when their number
/// is odd (the line touches a loop without entering).
CQorPoint3dArray crossings(const CQorVertexArray& line, const CQorArrayTempl<CQorVertexArray>& loops) {
    CQorPoint3dArray all;
    CQorPoint3dArray points;
    for (const CQorVertexArray& loop : loops) {
        points.clear();
        line.intersectWith(loop, points);
        for (const CQorPoint3d& p : points)
            if (all.indexOf(p) < 0) all.append(p);
    }
    if (all.len() % 2 != 0) all.clear();
    all.sort(line.lastVertex().end - line.firstVertex().start);
    return all;
}

/// The piece of dash d, broken at p, whose midpoint lies inside the region (the first piece first).
void keepInsidePiece(const CQorVertex& d, const CQorPoint3d& p, const CQorArrayTempl<CQorVertexArray>& loops,
                     CQorArrayTempl<CQorVertexArray>& kept) {
    CQorVertexArray pieces{d};
    pieces.breakVertex(0, p);
    for (const CQorVertex& piece : pieces) {
        if (QOR::g_vll_pt_inside(loops, piece.mid()) > 0) {
            kept.append(CQorVertexArray{piece});
            return;
        }
    }
}

/// The parts of the line (or of its dashes) inside the region, between consecutive crossings.
CQorArrayTempl<CQorVertexArray> insideParts(const CQorPoint3dArray& points, const CQorVertexArray& dashed,
                                            bool hasDashes, const CQorArrayTempl<CQorVertexArray>& loops) {
    CQorArrayTempl<CQorVertexArray> kept;
    for (int i = 0; i + 1 < points.len(); i += 2) {
        const CQorPoint3d& p = points[i];
        const CQorPoint3d& q = points[i + 1];
        const CQorVertex span(p, q);
        if (!hasDashes) {
            kept.append(CQorVertexArray{span});
            continue;
        }
        for (const CQorVertex& d : dashed) {
            if (d.isPoint(p) && d.isPoint(q))
                kept.append(CQorVertexArray{QOR::g_vl_cut(d, p, q)});
            else if (span.isPoint(d.start) && span.isPoint(d.end))
                kept.append(CQorVertexArray{d});
            else if (d.isPoint(q))
                keepInsidePiece(d, q, loops, kept);
            else if (d.isPoint(p))
                keepInsidePiece(d, p, loops, kept);
        }
    }
    return kept;
}

/// The family of pattern line `line` (angle, origin, shift, distance, dashes as in a pattern file) for
/// the hatch angle (radians) and scale; false when its dash pattern has no length to lay.
bool makeFamily(const CQorArrayTempl<double>& line, double hatchAngle, double scale, double dotLength,
                Family& family) {
    const double lineAngle = line[0] * kPi / 180.0;
    family.toPattern.setToRotation(lineAngle + hatchAngle, CQorVector3d::kZAxis);
    // The hatch angle turns the whole pattern about the origin, so in the family frame the origin of
    // the line is the definition's origin turned back by the line angle only.
    family.origin = CQorMatrix3d().setToRotation(-lineAngle, CQorVector3d::kZAxis) *
                    CQorPoint3d(scale * line[1], scale * line[2], 0.0);
    const double dx = line.len() > 3 ? scale * line[3] : 0.0;
    const double dy = line.len() > 4 ? scale * line[4] : 0.0;
    family.stepAlong = dy >= 0.0 ? dx : -dx;
    family.stepAcross = std::abs(dy);
    for (int i = 5; i < line.len(); ++i) {
        const double dash = line[i] != 0.0 ? line[i] * scale : dotLength; // a dot is a short dash
        family.dashes.append(dash);
        family.patternLength += std::abs(dash);
    }
    return family.dashes.isEmpty() || (family.patternLength > 0.0 && std::isfinite(family.patternLength));
}

/// The indices of the family's lines that cross the band ymin <= y <= ymax of its frame, as [first,
/// last]; false when none does, or when there would be more than kMaxFamilyLines of them.
bool lineRange(const Family& family, double ymin, double ymax, long long& first, long long& last) {
    if (family.stepAcross == 0.0) {
        first = last = 0;
        return family.origin.y >= ymin && family.origin.y <= ymax;
    }
    const double lo = std::ceil((ymin - family.origin.y) / family.stepAcross);
    const double hi = std::floor((ymax - family.origin.y) / family.stepAcross);
    // Also false for NaN and for ranges beyond the long long range.
    if (!(lo <= hi && hi - lo < double(QOR::detail::kMaxFamilyLines))) return false;
    first = (long long)lo;
    last = (long long)hi;
    return true;
}

/// Lays the lines of one family after another across the region and keeps what falls inside it.
class HatchSweep {
public:
    HatchSweep(const CQorArrayTempl<CQorVertexArray>& loops, const CQorMatrix3d& mtx)
        : m_loops(loops), m_mtx(mtx) {}

    void run(const Family& family, CQorArrayTempl<CQorVertexArray>& out) {
        m_frameLoops = m_loops;
        QOR::detail::transformLoops(m_frameLoops, family.toPattern.inverse());
        CQorPoint3d min, max;
        long long first = 0, last = 0;
        if (!m_frameLoops[0].extents(min, max) || !lineRange(family, min.y, max.y, first, last)) return;
        const double overhang = kOverhangPart * (max.x - min.x) + 1.0;
        const CQorMatrix3d toLoops = m_mtx * family.toPattern;
        const CQorLineParm dashes(family.dashes);
        for (long long i = first; i <= last; ++i) {
            const double y = family.origin.y + double(i) * family.stepAcross;
            double startX = min.x - overhang;
            if (!family.dashes.isEmpty()) {
                // Start a whole number of pattern lengths before the region, so the dashes keep their phase.
                const double phase = family.origin.x + double(i) * family.stepAlong;
                startX = phase + std::floor((startX - phase) / family.patternLength) * family.patternLength;
            }
            const CQorVertexArray line{CQorVertex({startX, y, 0.0}, {max.x + overhang, y, 0.0})};
            CQorVertexArray hatchLine = insideLine(line, dashes, !family.dashes.isEmpty());
            if (!hatchLine.isEmpty()) out.append(std::move(hatchLine.transformBy(toLoops)));
        }
    }

private:
    /// The parts of line (laid out in dashes when hasDashes) inside the region, as one vertex array.
    CQorVertexArray insideLine(const CQorVertexArray& line, const CQorLineParm& dashes, bool hasDashes) {
        const CQorPoint3dArray points = crossings(line, m_frameLoops);
        if (points.isEmpty()) return {};
        CQorVertexArray dashed;
        if (hasDashes) QOR::vl_measure_flat(line, 1.0, dashes, dashed);
        CQorArrayTempl<CQorVertexArray> pieces =
            insideParts(points, hasDashes ? dashed : line, hasDashes, m_frameLoops);
        QOR::vl_punch(pieces, m_frameLoops[0], true);
        CQorVertexArray joined;
        for (const CQorVertexArray& piece : pieces)
            joined += piece;
        return joined;
    }

    const CQorArrayTempl<CQorVertexArray>& m_loops; // in pattern space
    CQorArrayTempl<CQorVertexArray> m_frameLoops;   // in the current family's frame
    const CQorMatrix3d& m_mtx;
};

} // namespace

namespace QOR::detail {

CQorArrayTempl<CQorVertexArray> hatchLines(CQorArrayTempl<CQorVertexArray> loops, const CQorMatrix3d& mtx,
                                           const CHatchProp& hatch, const CQorPatternDef& def,
                                           double dotLength) {
    CQorArrayTempl<CQorVertexArray> out;
    if (hatch.m_double && isUserPattern(hatch.m_name)) {
        const CHatchProp across(hatch.m_name, g_ang(hatch.m_angle + kPi / 2.0), hatch.m_scale, false);
        out = hatchLines(loops, mtx, across, def, dotLength);
    }
    if (def.isEmpty()) return out;

    orientLoops(loops);
    transformLoops(loops, mtx.inverse());
    if (loops.isEmpty()) loops.append(CQorVertexArray());
    orientLoops(loops);

    HatchSweep sweep(loops, mtx);
    for (const auto& line : def) {
        Family family;
        if (makeFamily(line, hatch.m_angle, hatch.m_scale, dotLength, family)) sweep.run(family, out);
    }
    return out;
}

} // namespace QOR::detail

CQorArrayTempl<CQorVertexArray> qor_gdx_image_reg_hatch2(CQorArrayTempl<CQorVertexArray> loops,
                                                         const CQorMatrix3d& mtx,
                                                         const QOR::CHatchProp& hatch) {
    using Lines = CQorArrayTempl<CQorVertexArray>;
    return QOR::detail::guarded(Lines(), [&] {
        const double dot =
            QOR::acadUnitCv(QOR::detail::kPatternDotMm, Qor::kUnitMillimeter, Qor::kUnitCurrent);
        return QOR::detail::hatchLines(std::move(loops), mtx, hatch, QOR::detail::hatchPattern(hatch.m_name),
                                       dot);
    });
}
