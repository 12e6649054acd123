// Line types: a few short dash arrays stand for the built-in patterns; the rest are used as stored.
#include "qor/render/polyline_prep.h"
#include "qor/render/render_p.h"

namespace QOR::render {

namespace {

bool equals(const CQorArrayTempl<double>& a, std::initializer_list<double> b) {
    if (a.len() != int(b.size())) return false;
    int i = 0;
    for (double v : b)
        if (std::as_const(a)[i++] != v) return false;
    return true;
}

void append(CQorArrayTempl<double>& to, std::initializer_list<double> values) {
    for (double v : values)
        to.append(v);
}

} // namespace

void itemDashes(const CQorGDX& gdx, int item, double dotLength, CQorArrayTempl<double>& dashes) {
    const CQorArrayTempl<double>& stored = gdx.linetypeGet(item);
    dashes.clear();
    if (equals(stored, {1.0}) || equals(stored, {1.0, 0.0, 0.0})) return; // solid
    if (equals(stored, {1.0, 1.0, 0.0}))
        append(dashes, {10.0, -4.0});
    else if (equals(stored, {1.0, 1.0, 1.0}))
        append(dashes, {11.0, -5.0, 0.0, -5.0});
    else if (stored.len() == 3 && std::as_const(stored)[0] == 0.0 && std::as_const(stored)[1] == 0.0 &&
             std::as_const(stored)[2] != 0.0)
        append(dashes, {0.0, -4.0});
    else
        dashes += stored;
    const double scale = gdx.ltscaleGet(item);
    for (int i = 0; i < dashes.len(); ++i) {
        double& d = dashes[i];
        d = d == 0.0 ? dotLength : d * scale;
    }
}

void applyLineType(CQorVertexArray& vl, const CQorArrayTempl<double>& dashes, double dotLength,
                   detail::PolylineScratch& scratch) {
    // Fitted to each segment: every straight piece starts and ends with half a dash, so corners and
    // ends are drawn and a pattern never stops in the middle of a gap.
    detail::vlMeasure(vl, dashes, 1, dotLength, scratch);
}

} // namespace QOR::render
