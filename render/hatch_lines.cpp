#include <algorithm>
#include <cmath>
#include <utility>

#include "kernel/arc_math.h"
#include "kernel/polyline_clip.h"
#include "kernel/polyline_measure.h"
#include "kernel/polyline_ops.h"
#include "kernel/status.h"
#include "kernel/units.h"
#include "render/hatch.h"
#include "render/hatch_p.h"
#include "render/polyline_prep.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
/// The generated line reaches this many pattern lengths (dashed) or region diagonals (solid) to either
/// side of its origin, so that it spans the region whatever the origin. Gravel's stones are sparse and
/// need longer lines, more so at small scales.
constexpr double kDashedReach = 20.0;
constexpr double kGravelReach = 150.0;
constexpr double kGravelSmallReach = 200.0;
constexpr double kSolidReach = 15.0;
/// Steps per line of the region the searches may take: backwards k, forwards 3 k.
constexpr int kSearchSteps = 20;
constexpr int kGravelSmallSearchSteps = 200;

/// One pattern line prepared for sweeping across the region.
struct Family {
    CQorMatrix3d system;  // line space (x along the line) to pattern space
    CQorVector3d forward; // one step to the next line, in line space
    CQorArrayTempl<double> dashes;
    CQorVertexArray base; // the current line, in line space, before the hatch rotation
    int lineCount = 0;    // lines across the first loop
};

bool crosses(const CQorVertex& segment, const CQorVertexArray& loop) {
    CQorPoint3dArray points;
    return CQorVertexArray{segment}.intersectWith(loop, points) > 0;
}

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

/// Number of lines, as an int, for a count that may be huge, infinite or NaN.
int clampedCount(double count) {
    if (!(count >= 0.0)) return 0;
    return int(std::min(count, double(QOR::detail::kMaxFamilyLines)));
}

class HatchSweep {
public:
    HatchSweep(const CQorArrayTempl<CQorVertexArray>& loops, const CQorMatrix3d& mtx,
               const QOR::CHatchProp& hatch, double dotLength)
        : m_loops(loops), m_mtx(mtx), m_hatch(hatch), m_dot(dotLength) {
        const bool gravel = QOR::detail::isPatternName(hatch.m_name, L"GRAVEL");
        const bool small = hatch.m_scale < 1.0;
        m_reach = gravel ? (small ? kGravelSmallReach : kGravelReach) : kDashedReach;
        m_steps = gravel && small ? kGravelSmallSearchSteps : kSearchSteps;
        const CQorPoint3dArray ext = QOR::vl_extmax(loops[0], 0.0);
        m_diag = ext[0].distanceTo(ext[1]);
        m_rotated = hatch.m_angle != 0.0;
        m_rotation.setToRotation(hatch.m_angle, CQorVector3d::kZAxis);
    }

    void run(const CQorArrayTempl<double>& line, CQorArrayTempl<CQorVertexArray>& out) {
        const double scale = m_hatch.m_scale;
        const double a = line[0] * kPi / 180.0;
        Family family;
        family.system.setCoordSystem(CQorPoint3d::kOrigin, QOR::polar(a, 1.0), QOR::polar(a + kPi / 2.0, 1.0),
                                     CQorVector3d::kZAxis);
        const CQorMatrix3d toLine = family.system.inverse();
        m_lineLoops = m_loops;
        QOR::detail::transformLoops(m_lineLoops, toLine);
        const CQorPoint3dArray ext = QOR::vl_extmax(m_lineLoops[0], 0.0);

        const double dx = line.len() > 3 ? scale * line[3] : 0.0;
        const double dy = line.len() > 4 ? scale * line[4] : 0.0;
        // A family without a distance between lines is the single line through its origin.
        family.lineCount =
            dy == 0.0 ? 0 : clampedCount(std::trunc(ext[0].distanceTo(ext[1]) / std::abs(dy) + 1.0));
        family.forward = {dy >= 0.0 ? dx : -dx, std::abs(dy), 0.0};

        double patternLength = 0.0;
        for (int i = 5; i < line.len(); ++i) {
            if (line[i] != 0.0) {
                family.dashes.append(line[i] * scale);
                patternLength += std::abs(line[i] * scale);
            } else {
                family.dashes.append(m_dot);
                patternLength += 1.0;
            }
        }
        const bool hasDashes = !family.dashes.isEmpty();
        double half = m_diag * kSolidReach;
        if (hasDashes) half = (std::trunc(m_diag / patternLength) + 1.0) * patternLength * m_reach;
        if (!std::isfinite(half)) return;

        const CQorPoint3d origin = toLine * CQorPoint3d(scale * line[1], scale * line[2], 0.0);
        family.base.append(origin - CQorVector3d(half, 0.0, 0.0), origin + CQorVector3d(half, 0.0, 0.0));

        searchBack(family, ext[0], dy);
        sweep(family, hasDashes, out);
    }

private:
    /// The base line in the space the loops are crossed in.
    CQorVertexArray placed(const CQorVertexArray& vl) const {
        return m_rotated ? vl.getTransformedCopy(m_rotation) : vl;
    }

    /// Moves the base line back until it lies before the region: first below the region's lowest
    /// extreme, then further while it still crosses the outer loop.
    void searchBack(Family& family, const CQorPoint3d& lowest, double dy) {
        if (dy == 0.0) return;
        const double above = family.base[0].mid().y - lowest.y;
        if (above > 0.0) family.base.move(family.forward * -std::ceil(above / std::abs(dy)));
        const long long limit = (long long)m_steps * family.lineCount;
        for (long long i = 0; i < limit && crosses(placed(family.base)[0], m_lineLoops[0]); ++i)
            family.base.move(-family.forward);
    }

    void sweep(Family& family, bool hasDashes, CQorArrayTempl<CQorVertexArray>& out) {
        const long long limit = family.lineCount == 0 ? 1 : 3LL * m_steps * family.lineCount;
        const CQorMatrix3d toLoops = m_mtx * family.system;
        const CQorLineParm dashes(family.dashes);
        bool crossedBefore = false;
        for (long long i = 0; i < limit; ++i) {
            if (family.lineCount > 0) family.base.move(family.forward);
            CQorVertexArray dashed;
            if (hasDashes) {
                for (const CQorVertexArray& dash : QOR::vl_measure(family.base, 1.0, dashes))
                    dashed += dash;
            } else {
                dashed = family.base;
            }
            const CQorVertexArray line = placed(family.base);
            if (m_rotated) dashed.transformBy(m_rotation);
            if (dashed.isEmpty()) continue;
            if (!crosses(CQorVertex(dashed.firstVertex().start, dashed.lastVertex().end), m_lineLoops[0])) {
                if (crossedBefore) break;
                continue;
            }
            crossedBefore = true;
            const CQorPoint3dArray points = crossings(line, m_lineLoops);
            CQorArrayTempl<CQorVertexArray> pieces = insideParts(points, dashed, hasDashes, m_lineLoops);
            QOR::vl_punch(pieces, m_lineLoops[0], true);
            CQorVertexArray hatchLine;
            for (const CQorVertexArray& piece : pieces)
                hatchLine += piece;
            if (hatchLine.isEmpty()) continue;
            out.append(std::move(hatchLine.transformBy(toLoops)));
        }
    }

    const CQorArrayTempl<CQorVertexArray>& m_loops; // in pattern space
    CQorArrayTempl<CQorVertexArray> m_lineLoops;    // in the current family's line space
    const CQorMatrix3d& m_mtx;
    const QOR::CHatchProp& m_hatch;
    CQorMatrix3d m_rotation;
    bool m_rotated = false;
    double m_reach = kDashedReach;
    int m_steps = kSearchSteps;
    double m_diag = 0.0;
    double m_dot;
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

    HatchSweep sweep(loops, mtx, hatch, dotLength);
    for (const auto& line : def)
        sweep.run(line, out);
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
