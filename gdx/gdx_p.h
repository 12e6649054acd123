#pragma once

// Internals shared by the display list's source files.

#include <cmath>
#include <utility>

#include "gdx/gdx.h"

namespace QOR::detail {

/// True when stack begins with path (an empty path matches every stack).
inline bool isUnder(const CQorArrayTempl<int>& stack, const CQorArrayTempl<int>& path) noexcept {
    const int n = path.len();
    if (stack.len() < n) return false;
    const int* s = stack.data();
    const int* p = path.data();
    for (int i = 0; i < n; ++i)
        if (s[i] != p[i]) return false;
    return true;
}

/// Flags that keep an item out of the extents.
constexpr DWORD kNoExtentsFlags = GdxItemNoExtents | GdxItemAnchored;

/// A growing bounding box. Corners combine componentwise; a NaN coordinate yields the other corner's
/// (as QOR::p_min and p_max do), so one bad point cannot poison the box.
struct Bounds {
    bool any = false;
    CQorPoint3d lo;
    CQorPoint3d hi;

    void add(const CQorPoint3d& p) noexcept {
        if (!any) {
            lo = hi = p;
            any = true;
            return;
        }
        lo = {std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z)};
        hi = {std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z)};
    }
};

/// Widens b by vl transformed by m: by the exact bounding box of the transformed copy (arcs included).
/// scratch is reused between calls so that straight polylines, the usual case, need no copy at all.
void boundPolyline(const CQorVertexArray& vl, const CQorMatrix3d& m, Bounds& b, CQorVertexArray& scratch);

/// Widens b by the geometry of item that counts for extents, under m (the full matrix down to item
/// coordinates): the point of a point item, the polyline, boundary 0 of a region, the first polyline of
/// each stroke group of a text. Pictures and other kinds add nothing. Flags are not looked at.
void boundItem(const CQorDisplayItem& item, const CQorMatrix3d& m, Bounds& b, CQorVertexArray& scratch);

/// True when m is exactly the identity.
bool isIdentity(const CQorMatrix3d& m) noexcept;

} // namespace QOR::detail

template <class F>
bool CQorGDX::forEachUnder(const Path& path, F&& visit) {
    bool any = false;
    const int n = m_list.len();
    CQorDisplayItem* items = m_list.data();
    for (int i = 0; i < n; ++i) {
        if (!QOR::detail::isUnder(items[i].m_stack, path)) continue;
        visit(items[i]);
        any = true;
    }
    return any;
}
