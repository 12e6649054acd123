// Random loops, segments and dash patterns for the polyline kernel: clipping, orientation,
// intersections, dash laying and region grouping must neither crash nor hang, and clipped pieces must
// lie in the region.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "qor/kernel/geom/polyline_clip.h"
#include "qor/kernel/geom/polyline_measure.h"
#include "qor/kernel/geom/polyline_regions.h"

namespace {

// Coordinates: mostly small integers (so that points, edges and tangents coincide), sometimes any
// double, sometimes the awkward ones.
double coordinate(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegral<std::uint8_t>() % 8) {
    case 5:
        return in.ConsumeFloatingPoint<double>();
    case 6: {
        constexpr double kOdd[] = {NAN, INFINITY, -INFINITY, 1e9, -1e9, 1e300, 1e-300, 0.5};
        return kOdd[in.ConsumeIntegral<std::uint8_t>() % 8];
    }
    case 7:
        return in.ConsumeFloatingPointInRange<double>(-1000, 1000);
    default:
        return in.ConsumeIntegralInRange<int>(-20, 20);
    }
}

double bulge(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegral<std::uint8_t>() % 6) {
    case 0:
        return 1.0;
    case 1:
        return -1.0;
    case 2:
        return in.ConsumeFloatingPointInRange<double>(-3, 3);
    case 3:
        return coordinate(in);
    default:
        return 0.0;
    }
}

CQorVertexArray polyline(FuzzedDataProvider& in, int maxPoints, bool closed) {
    CQorPoint3dArray pts;
    const int n = in.ConsumeIntegralInRange<int>(0, maxPoints);
    for (int i = 0; i < n; ++i)
        pts.append({coordinate(in), coordinate(in), in.ConsumeBool() ? 0.0 : coordinate(in)});
    CQorVertexArray vl;
    vl.fromPoints(pts, closed);
    for (CQorVertex& v : vl)
        v.bulge = bulge(in);
    return vl;
}

bool tame(const CQorVertexArray& vl) {
    for (const CQorVertex& v : vl)
        for (const double c : {v.start.x, v.start.y, v.end.x, v.end.y, v.bulge})
            if (!std::isfinite(c) || std::abs(c) > 1e6) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    CQorArrayTempl<CQorVertexArray> loops;
    const int loopCount = in.ConsumeIntegralInRange<int>(0, 4);
    for (int i = 0; i < loopCount; ++i)
        loops.append(polyline(in, 24, in.ConsumeBool()));
    const CQorVertexArray segment = polyline(in, 4, false);
    const bool inside = in.ConsumeBool();

    const auto pieces = QOR::vl_punch_reg(segment, loops, inside);
    bool allTame = tame(segment);
    for (const CQorVertexArray& loop : loops)
        allTame = allTame && tame(loop);
    if (allTame) {
        for (const CQorVertexArray& piece : pieces)
            for (const CQorVertex& v : piece) {
                const int where = QOR::g_vll_pt_inside(loops, v.mid());
                if (inside ? where < 0 : where > 0) std::abort();
            }
    }
    CQorArrayTempl<CQorVertexArray> punched{segment};
    if (!loops.isEmpty()) QOR::vl_punch(punched, loops[0], inside);

    CQorPoint3dArray hits;
    for (const CQorVertexArray& loop : loops) {
        QOR::g_vl_orient(loop, {coordinate(in), coordinate(in), coordinate(in)});
        segment.intersectWith(loop, hits);
        CQorPoint3d lo, hi;
        loop.extents(lo, hi);
        QOR::vl_extmax(loop, coordinate(in));
    }
    QOR::g_vll_pt_inside(loops, {coordinate(in), coordinate(in), 0});

    CQorArrayTempl<double> dashes;
    const int entries = in.ConsumeIntegralInRange<int>(0, 6);
    for (int i = 0; i < entries; ++i)
        dashes.append(in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(-5, 5) : coordinate(in));
    const CQorLineParm pattern(dashes);
    const double scale = in.ConsumeBool() ? 1.0 : coordinate(in);
    // Keep each run quick: a pattern that would give more than 10 000 dashes is valid but slow.
    const double count = segment.length() / (pattern.patternLength() * scale) * (entries + 1);
    if (!(count > 1e4)) QOR::vl_measure(segment, scale, pattern);

    const double tolerance = in.ConsumeFloatingPointInRange<double>(1e-3, 10);
    segment.pts(true, tolerance);
    QOR::g_vll_regions(QOR::vll_regions_prepare(loops), QOR::kRegionsOrient);
    return 0;
}
