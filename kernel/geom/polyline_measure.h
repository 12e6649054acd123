#pragma once

// Measuring along polylines: dash laying and extreme points in a direction. Geometry conventions: see
// arc_math.h. Tolerances and limits: polyline_tol.h.

#include "qor/kernel/geom/line_parm.h"
#include "qor/kernel/geom/vertex_array.h"

namespace QOR {

/// Lays the dash array of lp, each entry times scale, along vl and returns the dashes in path order,
/// each a continuous polyline (arcs stay arcs). A positive entry is a dash, a negative entry a gap, a
/// zero entry a dot (one zero-length vertex); dash entries that follow each other make one dash. The pattern
/// starts at the path's start and runs on across corners; where vl does not connect, a dash ends and the
/// pattern goes on with the next piece (jumps take no length). The last dash may be cut short by the path's
/// end. A pattern without a gap, a pattern of zero length, a scale that is not positive and finite, or a
/// pattern so dense that the path would need more than kMaxDashes dashes give the connected pieces of
/// vl unchanged: the path is drawn continuous.
QOR_EXPORT CQorArrayTempl<CQorVertexArray> vl_measure(const CQorVertexArray& vl, double scale,
                                                      const CQorLineParm& lp);

/// Appends the dashes of vl_measure one after the other to out: the same vertices in the same order,
/// without a polyline per dash, for callers that join them anyway. out must not be vl.
QOR_EXPORT void vl_measure_flat(const CQorVertexArray& vl, double scale, const CQorLineParm& lp,
                                CQorVertexArray& out);

/// The two extreme points of the loop for the direction angle (radians), in the XY projection: with
/// u at angle and v at angle + pi/2, [0] is umin u + vmin v and [1] is umax u + vmax v over the whole
/// loop, arcs included, so for angle 0 they are the corners of its bounding box; their z is the
/// loop's smallest and largest z. Empty for an empty loop.
QOR_EXPORT CQorPoint3dArray vl_extmax(const CQorVertexArray& loop, double angle);
/// vl_extmax without an array: lo is [0] and hi is [1]; false, both the origin, for an empty loop.
QOR_EXPORT bool vl_extmax(const CQorVertexArray& loop, double angle, CQorPoint3d& lo, CQorPoint3d& hi);

/// The loop's enclosing rectangle with sides along the direction angle and across it, as a closed
/// counter-clockwise polyline of four straight vertices starting at the (umin, vmin) corner (see
/// vl_extmax), at z = 0. Empty for an empty loop.
QOR_EXPORT CQorVertexArray vl_extrect(const CQorVertexArray& loop, double angle);

} // namespace QOR
