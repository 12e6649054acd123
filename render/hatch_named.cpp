#include <cmath>

#include "qor/kernel/base/status.h"
#include "qor/kernel/geom/arc_math.h"
#include "qor/kernel/geom/polyline_clip.h"
#include "qor/kernel/geom/polyline_measure.h"
#include "qor/render/hatch.h"
#include "qor/render/hatch_p.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
/// Rows of dots start and end this far outside the region, so that clipping decides where they stop.
constexpr double kDotRowOverhang = 10.0;

/// Appends every piece, transformed by m.
void appendAll(CQorArrayTempl<CQorVertexArray>& out, CQorArrayTempl<CQorVertexArray>&& pieces,
               const CQorMatrix3d& m) {
    for (CQorVertexArray& piece : pieces)
        out.append(std::move(piece.transformBy(m)));
}

void dotRows(const CQorArrayTempl<CQorVertexArray>& loops, const CQorMatrix3d& mtx, double spacing,
             CQorArrayTempl<CQorVertexArray>& out) {
    if (!(spacing > 0.0) || !std::isfinite(spacing)) return; // rows would never advance
    CQorPoint3d min, max;
    if (!loops[0].extents(min, max)) return;
    const double rows = (max.y - min.y) / spacing + 1.0;
    if (!(rows > 0.0)) return; // also a NaN or infinite spacing
    const int count = int(std::min(std::ceil(rows), double(QOR::detail::kMaxFamilyLines)));
    const CQorLineParm dots(0.0, -spacing);
    for (int i = 0; i < count && i < rows; ++i) {
        const double y = min.y + i * spacing;
        const CQorVertexArray row{
            CQorVertex({min.x - kDotRowOverhang, y, 0.0}, {max.x + kDotRowOverhang, y, 0.0})};
        for (const CQorVertexArray& piece : QOR::vl_punch_reg(row, loops, true))
            appendAll(out, QOR::vl_measure(piece, 1.0, dots), mtx);
    }
}

void parallelLines(const CQorArrayTempl<CQorVertexArray>& loops, const CQorMatrix3d& mtx, double spacing,
                   double angle, CQorArrayTempl<CQorVertexArray>& out) {
    const CQorPoint3dArray ext = QOR::vl_extmax(loops[0], -angle);
    const CQorVertexArray rect = QOR::vl_extrect(loops[0], 0.0);
    const CQorPoint3dArray rectExt = QOR::vl_extmax(rect, -angle);
    if (ext.len() < 2 || rectExt.len() < 2) return;
    const double d = rectExt[0].distanceTo(rectExt[1]);
    CQorVertexArray line{
        CQorVertex(QOR::polar(rectExt[0], kPi - angle, d), QOR::polar(rectExt[0], -angle, d))};
    const CQorVector3d step = QOR::polar(kPi / 2.0 - angle, spacing);

    // The count follows the region's extent in whole drawing units, along its longer side.
    const bool wide = std::abs(ext[0].x - ext[1].x) > std::abs(ext[0].y - ext[1].y);
    const double lo = wide ? std::min(ext[0].x, ext[1].x) : std::min(ext[0].y, ext[1].y);
    const double hi = wide ? std::max(ext[0].x, ext[1].x) : std::max(ext[0].y, ext[1].y);
    const double count = std::abs(std::trunc(lo) - std::trunc(hi));
    if (!(count >= 0.0)) return;
    const int lines = int(std::min(count, double(QOR::detail::kMaxFamilyLines)));
    for (int i = 0; i < lines; ++i) {
        appendAll(out, QOR::vl_punch_reg(line, loops, true), mtx);
        line.move(step);
    }
}

} // namespace

CQorArrayTempl<CQorVertexArray> qor_gdx_image_reg_hatch(CQorArrayTempl<CQorVertexArray> loops,
                                                        const CQorMatrix3d& mtx, const CQorString& name,
                                                        double spacing, double angle) {
    using Lines = CQorArrayTempl<CQorVertexArray>;
    return QOR::detail::guarded(Lines(), [&] {
        Lines out;
        QOR::detail::orientLoops(loops);
        QOR::detail::transformLoops(loops, mtx.inverse());
        if (loops.isEmpty()) loops.append(CQorVertexArray());
        if (QOR::detail::isPatternName(name, L"DOTS"))
            dotRows(loops, mtx, spacing, out);
        else
            parallelLines(loops, mtx, spacing, angle, out);
        return out;
    });
}
