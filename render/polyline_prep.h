#pragma once

// Preparing polylines for device drawing: dash patterns, arcs reduced to chords, view placement.
// Geometry conventions: see kernel/geom/arc_math.h (model space, bulges). Dash arrays: a positive entry is a
// dash length, a negative entry a gap of its absolute length, a zero entry a dot; lengths are in drawing
// units.

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/geom/line_parm.h"
#include "qor/kernel/geom/vertex_array.h"

/// Replaces vl by its dashes for the dash array. mode 0 lays the pattern along each connected piece of
/// vl, running on across corners. Any other mode fits the pattern to every segment on its own: the array
/// is first turned so that it starts with a dash (an entry longer than 0.21) and ends with the other half
/// of it, then each segment longer than one pattern gets a whole number of patterns, its gaps lengthened
/// evenly to fill it, while a segment no longer than one pattern stays solid. A zero entry becomes a dot
/// of 0.2 mm (in drawing units), counted as 1.0 in the pattern length. vl comes back flattened onto
/// z = 0, dash after dash in path order; it is not continuous where a gap was laid.
/// False, leaving vl untouched, when dashes has fewer than two entries (a solid line).
QOR_EXPORT bool qor_gdx_image_vl_measure(CQorVertexArray& vl, CQorArrayTempl<double> dashes, int mode);

/// vl with every arc replaced by chords, in the input order: arcs shorter than 4.0 deviate at most 0.01
/// from their chords, longer ones at most 0.05 (in the polyline's plane). Straight vertices are copied.
QOR_EXPORT CQorVertexArray qor_gdx_image_vl_split(const CQorVertexArray& vl);

/// Each loop reduced as by qor_gdx_image_vl_split, each in its own plane; number and order kept.
QOR_EXPORT CQorArrayTempl<CQorVertexArray>
qor_gdx_image_reg_split(const CQorArrayTempl<CQorVertexArray>& loops);

/// vl in view coordinates: transformed by QOR::g_mtx_view(direction, origin, flag)
/// (kernel/geom/view_matrix.h: direction points from the model towards the viewer; with flag set the matrix
/// takes world to view coordinates) and dropped onto z = 0.
QOR_EXPORT CQorVertexArray qor_g_vl_mtx_view(const CQorVertexArray& vl, CQorVector3d direction,
                                             CQorPoint3d origin, bool flag);

namespace QOR {

namespace detail {

/// Length of a dot laid inside a dash or hatch pattern, in millimetres (Qor::kUnitMillimeter).
inline constexpr double kPatternDotMm = 0.2;

/// Buffers vlMeasure and vlSplit reuse from call to call, so that a renderer thread laying dashes on
/// one polyline after another allocates only when a polyline needs more room than every one before.
struct PolylineScratch {
    CQorArrayTempl<double> dashes; ///< the pattern as laid: turned, dots sized
    CQorArrayTempl<double> fitted; ///< the pattern fitted to one segment
    CQorLineParm parm;
    CQorVertexArray flat; ///< one connected piece dropped onto z = 0
    CQorVertexArray path; ///< one segment, its arc in chords
    CQorVertexArray out;  ///< the dashes; swapped with the polyline at the end
};

/// qor_gdx_image_vl_measure with the dot length given in drawing units instead of asked of the host, for
/// callers that convert it once (or off the host's thread), laid with the buffers of scratch.
bool vlMeasure(CQorVertexArray& vl, const CQorArrayTempl<double>& dashes, int mode, double dotLength,
               PolylineScratch& scratch);

/// qor_gdx_image_vl_split(vl) into out (emptied first), without an array of its own. May throw.
void vlSplit(const CQorVertexArray& vl, CQorVertexArray& out);

} // namespace detail

/// Rotates a by n places to the left: entry i takes the old entry (i + n) mod length (a negative n
/// rotates right). Arrays shorter than two entries and n = 0 are left as they are.
QOR_EXPORT void arrayRotate(CQorArrayTempl<double>& a, int n);

} // namespace QOR
