#include "qor/render/polyline_prep.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "qor/kernel/base/status.h"
#include "qor/kernel/geom/arc_math.h"
#include "qor/kernel/geom/polyline_measure.h"
#include "qor/kernel/geom/polyline_ops.h"
#include "qor/kernel/geom/view_matrix.h"
#include "qor/kernel/locale/units.h"

namespace {

/// An entry must be longer than this to count as the dash a fitted pattern starts with; the renderer's
/// dots are 0.21 long, so they never do.
constexpr double kDashMin = 0.21;
/// Arcs shorter than kShortArc are split finer: a small arc drawn with few chords looks polygonal.
constexpr double kShortArc = 4.0;
constexpr double kShortArcDeviation = 0.01;
constexpr double kLongArcDeviation = 0.05;
/// Deviation of the chords an arc becomes before a fitted pattern is laid on it.
constexpr double kDashArcDeviation = 0.1;

/// Turns the array so that it starts with a dash followed by a gap, splitting that dash into halves at
/// both ends. The search looks at entry k of the array as rotated so far.
void alignToDash(CQorArrayTempl<double>& dashes) {
    const int n = dashes.len();
    for (int k = 0; k < n; ++k) {
        if (dashes[k] > kDashMin && k + 1 < n && dashes[k + 1] < 0.0) {
            dashes[0] /= 2.0;
            dashes.append(dashes[0]);
            return;
        }
        QOR::arrayRotate(dashes, 1);
    }
}

/// Replaces each dot by dot and returns the pattern length, a dot counting 1.0.
double prepareDots(CQorArrayTempl<double>& dashes, double dot) {
    double total = 0.0;
    for (double& d : dashes) {
        if (d == 0.0) {
            d = dot;
            total += 1.0;
        } else {
            total += std::abs(d);
        }
    }
    return total;
}

/// One segment dashed with the pattern fitted to it (see qor_gdx_image_vl_measure), appended to
/// scratch.out.
void fitSegment(const CQorVertex& vx, const CQorArrayTempl<double>& dashes, double patternLength,
                QOR::detail::PolylineScratch& scratch) {
    CQorVertexArray& out = scratch.out;
    const double length = vx.bulgLen();
    if (!(length > patternLength)) { // also a NaN length: drawn as it is
        out.append(vx);
        return;
    }
    const double count = std::trunc(length / patternLength);
    const double rest = length - count * patternLength;
    int gaps = 0;
    for (double d : dashes)
        gaps += d < 0.0 ? 1 : 0;
    CQorArrayTempl<double>& fitted = scratch.fitted;
    fitted = dashes;
    if (gaps > 0) {
        const double widen = std::abs(rest / (gaps * count));
        for (double& d : fitted)
            if (d < 0.0) d -= widen;
    }
    const CQorVertex flat = QOR::g_vx_xy(vx);
    scratch.path.clear();
    if (flat.isArc())
        QOR::g_vl_expl_append(flat, QOR::vx_split_dif(flat, kDashArcDeviation), scratch.path);
    else
        scratch.path.append(flat);
    scratch.parm.assign(fitted);
    QOR::vl_measure_flat(scratch.path, 1.0, scratch.parm, out);
}

} // namespace

namespace QOR {

void arrayRotate(CQorArrayTempl<double>& a, int n) {
    const int len = a.len();
    if (len < 2) return;
    const int shift = ((n % len) + len) % len;
    if (shift == 0) return;
    std::rotate(a.begin(), a.begin() + shift, a.end());
}

} // namespace QOR

namespace QOR::detail {

bool vlMeasure(CQorVertexArray& vl, const CQorArrayTempl<double>& pattern, int mode, double dotLength,
               PolylineScratch& scratch) {
    if (pattern.len() < 2) return false;
    return guarded(false, [&] {
        CQorArrayTempl<double>& dashes = scratch.dashes;
        dashes = pattern;
        if (mode == 1) alignToDash(dashes);
        const double patternLength = prepareDots(dashes, dotLength);
        scratch.out.clear();
        const CQorVertexArray& from = vl;
        // Connected pieces as vl_to_vll finds them: a vertex that does not start where the one before
        // ended starts the next.
        for (int first = 0, n = from.len(); first < n;) {
            int last = first + 1;
            while (last < n && !(from[last - 1].end != from[last].start))
                ++last;
            if (mode == 0) {
                scratch.flat.clear();
                for (int i = first; i < last; ++i)
                    scratch.flat.append(g_vx_xy(from[i]));
                scratch.parm.assign(dashes);
                vl_measure_flat(scratch.flat, 1.0, scratch.parm, scratch.out);
            } else {
                for (int i = first; i < last; ++i)
                    fitSegment(from[i], dashes, patternLength, scratch);
            }
            first = last;
        }
        std::swap(vl, scratch.out); // both keep their room for the next polyline
        return true;
    });
}

void vlSplit(const CQorVertexArray& vl, CQorVertexArray& out) {
    out.clear();
    if (!vl.hasArcs()) {
        out = vl;
        return;
    }
    const CQorVector3d normal = vl.normal();
    CQorMatrix3d toWorld;
    toWorld.setToPlaneToWorld(normal);
    // A polyline in the XY plane (the usual case) is in its plane already.
    const bool inXY =
        std::equal(&toWorld.entry[0][0], &toWorld.entry[0][0] + 16, &CQorMatrix3d::kIdentity.entry[0][0]);
    const CQorMatrix3d toPlane = inXY ? CQorMatrix3d() : toWorld.inverse();
    for (const CQorVertex& vx : vl) {
        if (!vx.isArc()) {
            out.append(vx);
            continue;
        }
        CQorVertex inPlane(vx);
        if (!inXY) inPlane.transformBy(toPlane, normal, CQorVector3d::kZAxis);
        const double deviation = inPlane.bulgLen() < kShortArc ? kShortArcDeviation : kLongArcDeviation;
        const int first = out.len();
        g_vl_expl_append(inPlane, vx_split_dif(inPlane, deviation), out);
        if (!inXY)
            for (int i = first; i < out.len(); ++i)
                out[i].transformBy(toWorld);
    }
}

} // namespace QOR::detail

bool qor_gdx_image_vl_measure(CQorVertexArray& vl, CQorArrayTempl<double> dashes, int mode) {
    if (dashes.len() < 2) return false;
    const double dot = QOR::acadUnitCv(QOR::detail::kPatternDotMm, Qor::kUnitMillimeter, Qor::kUnitCurrent);
    QOR::detail::PolylineScratch scratch;
    return QOR::detail::vlMeasure(vl, dashes, mode, dot, scratch);
}

CQorVertexArray qor_gdx_image_vl_split(const CQorVertexArray& vl) {
    return QOR::detail::guarded(CQorVertexArray(), [&] {
        CQorVertexArray out;
        QOR::detail::vlSplit(vl, out);
        return out;
    });
}

CQorArrayTempl<CQorVertexArray> qor_gdx_image_reg_split(const CQorArrayTempl<CQorVertexArray>& loops) {
    return QOR::detail::guarded(CQorArrayTempl<CQorVertexArray>(), [&] {
        CQorArrayTempl<CQorVertexArray> out;
        out.reserve(loops.len());
        for (const CQorVertexArray& loop : loops)
            out.append(qor_gdx_image_vl_split(loop));
        return out;
    });
}

CQorVertexArray qor_g_vl_mtx_view(const CQorVertexArray& vl, CQorVector3d direction, CQorPoint3d origin,
                                  bool flag) {
    return QOR::detail::guarded(CQorVertexArray(), [&] {
        return QOR::g_vx_xy(vl.getTransformedCopy(QOR::g_mtx_view(direction, origin, flag)));
    });
}
