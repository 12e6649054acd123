#include "qor/kernel/geom/polyline_clip.h"
#include "qor/kernel/host/host_app.h"
#include "qor/render/hatch_p.h"

namespace QOR::detail {

void orientLoops(CQorArrayTempl<CQorVertexArray>& loops) {
    for (CQorVertexArray& loop : loops)
        if (loop.isClosed() && !g_vl_orient(loop, CQorVector3d::kZAxis)) loop.revert();
}

void transformLoops(CQorArrayTempl<CQorVertexArray>& loops, const CQorMatrix3d& m) {
    for (CQorVertexArray& loop : loops)
        loop.transformBy(m);
}

bool isUserPattern(const CQorString& name) {
    return isPatternName(name, L"_USER") || isPatternName(name, L"_U");
}

CQorPatternDef hatchPattern(const CQorString& name) {
    CQorPatternDef def;
    if (isUserPattern(name))
        def.append(CQorArrayTempl<double>{0.0, 0.0, 0.0, 0.0, 1.0});
    else
        qorAppPtr()->patternGet(name, def); // the default host reads the bundled and configured files
    return def;
}

bool isPatternName(const CQorString& name, const wchar_t* which) {
    CQorString upper(name);
    upper.makeUpper();
    return upper == which;
}

} // namespace QOR::detail
