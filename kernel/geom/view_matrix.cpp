#include "qor/kernel/geom/view_matrix.h"

#include <cmath>

namespace QOR {

CQorMatrix3d g_mtx_view(const CQorVector3d& dir, const CQorPoint3d& origin, bool toView) {
    const double len = dir.abs();
    if (!(len > 0.0) || !std::isfinite(len)) return CQorMatrix3d{};
    // View to world: the axes of the plane system of dir, placed at origin.
    CQorMatrix3d toWorld;
    toWorld.setToPlaneToWorld(dir);
    toWorld.entry[0][3] = origin.x;
    toWorld.entry[1][3] = origin.y;
    toWorld.entry[2][3] = origin.z;
    if (!toView) return toWorld;
    // The rotation part is orthonormal: the inverse is its transpose, with the translation turned back.
    CQorMatrix3d r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            r.entry[i][j] = toWorld.entry[j][i];
        r.entry[i][3] = -(toWorld.entry[0][i] * origin.x + toWorld.entry[1][i] * origin.y +
                          toWorld.entry[2][i] * origin.z);
    }
    return r;
}

} // namespace QOR
