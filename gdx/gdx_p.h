#pragma once

// Internals shared by the display list's source files.

#include <cmath>
#include <utility>

#include "qor/gdx/gdx.h"

namespace QOR::detail {

/// A number no list revision or item stamp has had before.
std::uint64_t nextRevision() noexcept;

/// Marks item as changed (CQorDisplayItem::m_stamp).
inline void stamp(CQorDisplayItem& item) noexcept {
    item.m_stamp = nextRevision();
}

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

/// A new item of type with what every adder sets: flags, item stack, colour and matrix.
inline CQorDisplayItem newItem(QorDisplayObj type, const CQorArrayTempl<int>& path, DWORD flags,
                               const CQorColor& color, const CQorMatrix3d& mtx) {
    CQorDisplayItem item;
    item.m_type = type;
    item.m_flags = flags;
    item.m_stack = path;
    item.m_color = color;
    item.m_mtx = mtx;
    return item;
}

/// Points and texts keep their anchor as the start of their one vertex, which ends at the origin.
inline void anchorByVertex(CQorDisplayItem& item, const CQorPoint3d& anchor) {
    if (item.m_flags & GdxItemAnchored) item.m_vl.append(anchor, CQorPoint3d::kOrigin);
}

/// Flags that keep an item out of the extents.
constexpr DWORD kNoExtentsFlags = GdxItemNoExtents | GdxItemAnchored;

/// A growing bounding box. Corners combine componentwise; a NaN coordinate yields the other corner's
/// (as QOR::p_min and p_max and std::fmin do), so one bad point cannot poison the box. Written out
/// rather than calling fmin: this runs for every vertex of every item when the extents are recomputed.
struct Bounds {
    bool any = false;
    CQorPoint3d lo;
    CQorPoint3d hi;

    static double lower(double a, double b) noexcept { return b < a || a != a ? b : a; }
    static double upper(double a, double b) noexcept { return b > a || a != a ? b : a; }

    void add(const CQorPoint3d& p) noexcept {
        if (!any) {
            lo = hi = p;
            any = true;
            return;
        }
        lo = {lower(lo.x, p.x), lower(lo.y, p.y), lower(lo.z, p.z)};
        hi = {upper(hi.x, p.x), upper(hi.y, p.y), upper(hi.z, p.z)};
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
        QOR::detail::stamp(items[i]);
        any = true;
    }
    if (any) m_revision.bump();
    return any;
}
