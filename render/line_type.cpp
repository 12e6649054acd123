// Line types: a few short dash arrays stand for the built-in patterns; the rest are used as stored.
#include "kernel/line_parm.h"
#include "kernel/polyline_measure.h"
#include "render/render_p.h"

namespace QOR::render {

namespace {

bool equals(const CQorArrayTempl<double>& a, std::initializer_list<double> b) {
    if (a.len() != int(b.size())) return false;
    int i = 0;
    for (double v : b)
        if (std::as_const(a)[i++] != v) return false;
    return true;
}

} // namespace

CQorArrayTempl<double> itemDashes(const CQorGDX& gdx, int item, double dotLength) {
    const CQorArrayTempl<double>& stored = gdx.linetypeGet(item);
    CQorArrayTempl<double> dashes;
    if (equals(stored, {1.0}) || equals(stored, {1.0, 0.0, 0.0})) return dashes; // solid
    if (equals(stored, {1.0, 1.0, 0.0}))
        dashes = CQorArrayTempl<double>{10.0, -4.0};
    else if (equals(stored, {1.0, 1.0, 1.0}))
        dashes = CQorArrayTempl<double>{11.0, -5.0, 0.0, -5.0};
    else if (stored.len() == 3 && std::as_const(stored)[0] == 0.0 && std::as_const(stored)[1] == 0.0 &&
             std::as_const(stored)[2] != 0.0)
        dashes = CQorArrayTempl<double>{0.0, -4.0};
    else
        dashes = stored;
    const double scale = gdx.ltscaleGet(item);
    for (int i = 0; i < dashes.len(); ++i) {
        double& d = dashes[i];
        d = d == 0.0 ? dotLength : d * scale;
    }
    return dashes;
}

CQorVertexArray applyLineType(const CQorVertexArray& vl, const CQorArrayTempl<double>& dashes) {
    if (dashes.len() == 0) return vl;
    const CQorArrayTempl<CQorVertexArray> pieces = vl_measure(vl, 1.0, CQorLineParm(dashes));
    CQorVertexArray out;
    for (const CQorVertexArray& piece : pieces)
        for (const CQorVertex& vx : piece)
            out.append(vx);
    return out;
}

} // namespace QOR::render
