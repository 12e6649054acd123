#pragma once

// Reshaping polylines: flattening, exploding arcs into chords, projecting, splitting into connected
// pieces and cutting out parts. Geometry conventions: see arc_math.h. Tolerances: polyline_tol.h.

#include "qor/kernel/geom/vertex_array.h"

namespace QOR {

/// The vertex dropped onto z = 0; the bulge is kept (an arc of a plane parallel to XY stays exact).
QOR_EXPORT CQorVertex g_vx_xy(const CQorVertex& vx);
/// Every vertex dropped onto z = 0.
QOR_EXPORT CQorVertexArray g_vx_xy(const CQorVertexArray& vl);

/// The arc of vx (about +Z) as n chords of equal angle, in path order; n is clamped to 1..kMaxChords.
/// A straight vertex comes back as it is.
QOR_EXPORT CQorVertexArray g_vl_expl(const CQorVertex& vx, int n);
/// g_vl_expl(vx, n) appended to out: for callers that reuse one array from polyline to polyline.
QOR_EXPORT void g_vl_expl_append(const CQorVertex& vx, int n, CQorVertexArray& out);
/// Every arc vertex of vl (in vl's plane) as n chords; straight vertices are kept.
QOR_EXPORT CQorVertexArray g_vl_expl(const CQorVertexArray& vl, int n);

/// Replaces every arc of vl by chords that deviate at most deviation from it (vx_split_dif, in the
/// polyline's plane). False, changing nothing, when deviation is not positive.
QOR_EXPORT bool vl_split_dif(CQorVertexArray& vl, double deviation);

/// Transforms vl by m and drops it onto z = 0. Arcs that m (followed by the drop) would not keep
/// circular are first split into chords that deviate at most deviation from them; the others keep
/// their bulge, with its sign turned when their image runs clockwise seen from +Z. False, changing
/// nothing, when deviation is not positive.
QOR_EXPORT bool g_vl_proje_mtx_orig(CQorVertexArray& vl, const CQorMatrix3d& m, double deviation);

/// vl split into its connected pieces (a new piece starts wherever a vertex does not start where the
/// previous one ends), in path order.
QOR_EXPORT CQorArrayTempl<CQorVertexArray> vl_to_vll(const CQorVertexArray& vl);

/// The part of the segment from the point of it nearest to p to the point nearest to q (running
/// backwards when q comes before p).
QOR_EXPORT CQorVertex g_vl_cut(const CQorVertex& segment, const CQorPoint3d& p, const CQorPoint3d& q);
/// The part of the polyline from the point of it nearest to p to the point nearest to q, in path
/// order (reversed when q comes before p). Empty for an empty polyline.
QOR_EXPORT CQorVertexArray g_vl_cut(const CQorVertexArray& vl, const CQorPoint3d& p, const CQorPoint3d& q);

} // namespace QOR
