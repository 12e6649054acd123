#include <cfloat>
#include <cmath>
#include <utility>

#include "qor/kernel/base/status.h"
#include "qor/kernel/geom/arc_math.h"
#include "qor/kernel/geom/polyline_clip.h"
#include "qor/kernel/geom/polyline_measure.h"
#include "qor/render/hatch.h"
#include "qor/render/hatch_p.h"

namespace {

/// A family with this many lines or more across the region is drawn solid: the lines would merge.
constexpr double kMaxLineCount = 95.0;
/// Lines closer than this many device units (pixels) would merge too.
constexpr double kMinSpacingPx = 2.3;

constexpr double kPi = 3.14159265358979323846;

} // namespace

namespace QOR::detail {

bool patternTest(const CQorVertexArray& outer, const CQorPatternDef& def, double scale,
                 const CQorMatrix3d& mtx, PatternTestScratch& scratch) {
    const double devicePerModel = (CQorVector3d::kXAxis * mtx).abs();
    // Oriented as the hatch turns it, so that the extents below are those of the loop the lines fill.
    CQorVertexArray& oriented = scratch.oriented;
    oriented = outer;
    if (oriented.isClosed() && !g_vl_orient(oriented, CQorVector3d::kZAxis)) oriented.revert();
    double largestCount = 0.0;
    double smallestSpacing = DBL_MAX;
    for (const auto& line : def) {
        const bool hasDx = line.len() > 3 && line[3] != 0.0;
        const bool hasDy = line.len() > 4 && line[4] != 0.0;
        const double a = line[0] * kPi / 180.0;
        CQorMatrix3d system;
        system.setCoordSystem(CQorPoint3d::kOrigin, QOR::polar(a, 1.0), QOR::polar(a + kPi / 2.0, 1.0),
                              CQorVector3d::kZAxis);
        scratch.placed = oriented;
        scratch.placed.transformBy(system.inverse());
        CQorPoint3d lo, hi;
        QOR::vl_extmax(scratch.placed, 0.0, lo, hi);
        const double w = std::abs(hi.x - lo.x);
        const double h = std::abs(hi.y - lo.y);
        if (hasDx) {
            const double dx = scale * line[3];
            largestCount = std::max(largestCount, w / dx);
            smallestSpacing = std::min(smallestSpacing, std::abs(dx));
        }
        if (hasDy) {
            const double dy = scale * line[4];
            largestCount = std::max(largestCount, h / dy);
            smallestSpacing = std::min(smallestSpacing, std::abs(dy));
        }
    }
    return largestCount < kMaxLineCount && smallestSpacing * devicePerModel > kMinSpacingPx;
}

} // namespace QOR::detail

bool qor_gdx_pattern_test(CQorArrayTempl<CQorVertexArray> loops, const QOR::CHatchProp& hatch,
                          const CQorMatrix3d& mtx) {
    return QOR::detail::guarded(false, [&] {
        QOR::detail::PatternTestScratch scratch;
        return QOR::detail::patternTest(std::as_const(loops)[0], QOR::detail::hatchPattern(hatch.m_name),
                                        hatch.m_scale, mtx, scratch);
    });
}
