#pragma once

// Orientation, point-in-region tests and clipping of polylines by loops and regions.
// Geometry conventions: see arc_math.h; these functions work in the XY projection. Tolerances:
// polyline_tol.h. A loop is taken as closed: one that does not end where it starts is closed by a
// straight vertex. A region is an array of loops: the first is the outer boundary, the others holes;
// its boundary belongs to it.

#include "qor/kernel/geom/vertex_array.h"

namespace QOR {

/// True when the closed loop runs counter-clockwise about axis (its enclosed area, arcs included,
/// points along axis). False for a loop that encloses no area or an axis of zero length.
QOR_EXPORT bool g_vl_orient(const CQorVertexArray& loop, const CQorVector3d& axis);

/// Where p lies in the region loops: positive inside, zero on the boundary (within kOnTol), negative
/// outside. A point with a NaN coordinate and every point of a region without loops lie outside.
QOR_EXPORT int g_vll_pt_inside(const CQorArrayTempl<CQorVertexArray>& loops, const CQorPoint3d& p);

/// Clips the polyline segment by the region loops: with inside set, the parts inside the region
/// (boundary included: a piece running along an edge is kept); otherwise the parts outside it. The
/// pieces come in path order, each a continuous polyline; the input is not changed.
QOR_EXPORT CQorArrayTempl<CQorVertexArray>
vl_punch_reg(const CQorVertexArray& segment, const CQorArrayTempl<CQorVertexArray>& loops, bool inside);

/// Replaces pieces by their parts inside (inside set, boundary included) or outside the closed loop,
/// in order. False, leaving pieces unchanged, for an empty loop.
QOR_EXPORT bool vl_punch(CQorArrayTempl<CQorVertexArray>& pieces, const CQorVertexArray& loop, bool inside);

} // namespace QOR
