#pragma once

// Small builders shared by the display-list tests.

#include <algorithm>
#include <cmath>

#include "qor/gdx/gdx.h"

namespace gdxtest {

inline CQorArrayTempl<int> path(std::initializer_list<int> ids) {
    return CQorArrayTempl<int>(ids);
}

/// A closed axis-aligned square polyline with corners (x, y) and (x + size, y + size).
inline CQorVertexArray square(double x, double y, double size) {
    CQorPoint3dArray pts{{x, y, 0}, {x + size, y, 0}, {x + size, y + size, 0}, {x, y + size, 0}};
    CQorVertexArray vl;
    vl.fromPoints(pts, true);
    return vl;
}

/// A straight polyline from a to b.
inline CQorVertexArray segment(const CQorPoint3d& a, const CQorPoint3d& b) {
    CQorVertexArray vl;
    vl.append(a, b);
    return vl;
}

/// A display list without configuration: identity projection, colour table empty.
inline CQorGDX plainList() {
    return CQorGDX(CQorColor(0), CQorMatrix3d{}, 0.0, 0, CQorPoint3d{}, CQorPoint3d{});
}

inline void addVl(CQorGDX& gdx, std::initializer_list<int> ids, const CQorVertexArray& vl, DWORD flags = 0,
                  const CQorMatrix3d& mtx = CQorMatrix3d{}) {
    gdx.imageVl(path(ids), flags, vl, CQorColor(1), mtx, {}, 1.0, 0, CQorPoint3d{});
}

inline void addPt(CQorGDX& gdx, std::initializer_list<int> ids, const CQorPoint3d& p, DWORD flags = 0,
                  const CQorMatrix3d& mtx = CQorMatrix3d{}) {
    gdx.imagePt(path(ids), flags, p, CQorColor(2), mtx, 0.0, QOR::kGdxPdModeDefault, CQorPoint3d{});
}

inline void addReg(CQorGDX& gdx, std::initializer_list<int> ids,
                   const CQorArrayTempl<CQorVertexArray>& regions, DWORD flags = 0,
                   const CQorColor& fcolor = CQorColor()) {
    gdx.imageReg(path(ids), flags, regions, CQorColor(3), CQorMatrix3d{}, {}, 1.0, 0, fcolor,
                 QOR::CHatchProp(), CQorPoint3d{});
}

struct Box {
    CQorPoint3d lo, hi;
};

/// Bounding box of the first polyline of every group (what counts for the extents).
inline Box strokeBox(const CQorStrokeGroups& groups) {
    Box b{{INFINITY, INFINITY, 0}, {-INFINITY, -INFINITY, 0}};
    for (const auto& group : groups) {
        CQorPoint3d lo, hi;
        group[0].extents(lo, hi);
        b.lo = {std::min(b.lo.x, lo.x), std::min(b.lo.y, lo.y), 0};
        b.hi = {std::max(b.hi.x, hi.x), std::max(b.hi.y, hi.y), 0};
    }
    return b;
}

/// Exposes the protected operations to the tests.
class OpenGdx : public CQorGDX {
public:
    OpenGdx() : CQorGDX(CQorColor(0), CQorMatrix3d{}, 0.0, 0, CQorPoint3d{}, CQorPoint3d{}) {}
    using CQorGDX::cFlagSet;
    using CQorGDX::flagSet;
    using CQorGDX::refresh_ext;
    using CQorGDX::removeItem;
};

} // namespace gdxtest
