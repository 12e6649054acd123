#include <cfloat>
#include <cmath>

#include "qor/kernel/base/status.h"
#include "qor/kernel/geom/arc_math.h"
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

bool patternTest(CQorArrayTempl<CQorVertexArray> loops, const CQorPatternDef& def, double scale,
                 const CQorMatrix3d& mtx) {
    const double devicePerModel = (CQorVector3d::kXAxis * mtx).abs();
    orientLoops(loops);
    double largestCount = 0.0;
    double smallestSpacing = DBL_MAX;
    for (const auto& line : def) {
        const bool hasDx = line.len() > 3 && line[3] != 0.0;
        const bool hasDy = line.len() > 4 && line[4] != 0.0;
        const double a = line[0] * kPi / 180.0;
        CQorMatrix3d system;
        system.setCoordSystem(CQorPoint3d::kOrigin, QOR::polar(a, 1.0), QOR::polar(a + kPi / 2.0, 1.0),
                              CQorVector3d::kZAxis);
        const CQorPoint3dArray ext = QOR::vl_extmax(loops[0].getTransformedCopy(system.inverse()), 0.0);
        const double w = std::abs(ext[1].x - ext[0].x);
        const double h = std::abs(ext[1].y - ext[0].y);
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
        return QOR::detail::patternTest(std::move(loops), QOR::detail::hatchPattern(hatch.m_name),
                                        hatch.m_scale, mtx);
    });
}
