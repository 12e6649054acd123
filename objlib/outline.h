#pragma once

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/geom/vector3d.h"
#include "qor/kernel/geom/vertex_array.h"
#include "qor/objlib/export.h"

class CQorDataItem;

// Parametric outlines: closed contours named by a number, shaped by up to six parameters.
//
// Conventions
//  - Model space of the outline: the XY plane, z = 0, lengths in drawing units, the loop closed (its
//    last vertex ends where the first starts) and running counter-clockwise about +Z unless a sign says
//    otherwise; arcs are bulges (tan of a quarter of the included angle, positive counter-clockwise), no
//    arc spanning more than a half circle.
//  - base moves the whole outline: the outline's own origin lands on base. A dialog that lets the user
//    pick the outline's insertion point stores the point's negative here.
//
// The geometry of each number is built in; the catalogue (outlineInit) describes the same numbers for a
// dialog: a name, the parameters' labels and their defaults per drawing scale. Angles are in degrees.
//
//   no.  outline              parameters                                  placed at
//   1    circle               P1 diameter > 0                             centre
//   2    rectangle            P1 width > 0, P2 height > 0                 centre
//   3    rounded rectangle    P1 width, P2 height, P3 corner radius       centre
//                             (0 <= r <= half the smaller side)
//   4    slot                 P1 length >= P2 width > 0, round ends       centre, length along X
//   5    regular polygon      P1 number of sides (3 to 1000, rounded to   centre, one side at the
//                             an integer), P2 diameter of the corners     bottom, parallel to X
//   6    L profile            P1 leg along X, P2 leg along Y, P3          outer corner, legs along
//                             thickness (0 < t < either leg)              +X and +Y
//   7    U profile            P1 height, P2 width, P3 web thickness       outer corner of the web
//                             (< width), P4 flange thickness (< height/2) (along Y), flanges to +X
//   21   ring segment         P1 outer radius > 0, P2 inner radius        centre; the segment starts
//                             (0 <= r < outer; 0 gives a sector), P3      on +X and turns counter-
//                             angle in degrees (0 < a < 360)              clockwise
//   22   slice symbol         P1 radius, not 0: a circle run counter-     centre
//                             clockwise, or clockwise for a negative
//                             radius (the axis symbol of a slice)

namespace QOR {

/// The numbers g_outline knows, in ascending order.
inline constexpr int kOutlineNumbers[] = {1, 2, 3, 4, 5, 6, 7, 21, 22};
/// Most parameters an outline takes.
inline constexpr int kOutlineMaxParms = 6;

/// The outline numbered outline with parameters parms (model units; extra parameters are ignored),
/// moved by base, as a closed polyline replacing vl. False, with vl empty, for an unknown number, too
/// few parameters, a parameter outside the range the table above gives, a non-finite number, or a
/// coordinate beyond CQor_Solid::kMaxCoordinate.
QOR_OBJECTS_EXPORT bool g_outline(CQorVertexArray& vl, int outline, const CQorVector3d& base,
                                  const CQorArrayTempl<double>& parms) noexcept;

/// g_outline as a value: the polyline, empty when the outline cannot be made.
QOR_OBJECTS_EXPORT CQorVertexArray g_outline(int outline, const CQorVector3d& base,
                                             const CQorArrayTempl<double>& parms) noexcept;

/// The outline an item describes (an element's "GEN" of "TYPE" "OUTLINE"): "ID" (int, the number),
/// "P1" to "P6" (numbers; the outline's parameters, the first missing one ending the list), "BASE"
/// (point, the move; none by default) and "INSUNIT" (the unit of its lengths, Qor::lUnit). With unit >= 0
/// and an "INSUNIT", lengths are converted to unit (QOR::acadUnitCv; angles and counts stay); unit -1
/// takes them as they are. False, with vl empty, for a null or non-directory item, a missing "ID" and
/// the failures of the form above.
QOR_OBJECTS_EXPORT bool g_outline(CQorVertexArray& vl, const CQorDataItem* item, int unit) noexcept;

/// Fills catalogue with the bundled outline catalogue (outlines.json of the resources, found with
/// QOR::fileFind): one directory per outline under its number as a short key, holding "CODE" (category
/// bits: 1 basic shapes, 2 extended shapes, 4 special shapes, 8 machining), "LABEL" (the message key of
/// its name), "TXTGEN" (int), "PARMS" (how many parameters) and "PARM1" ... with "LABEL" (message key),
/// optionally "MINUSP" (message key of the label for a negative value), "VALID" (the edit field's flags),
/// optionally "TYPE" ("A": an angle), "VAL" (the defaults under the short keys 1 to 4, one per drawing
/// scale 1, 10, 100, 1000) and optionally "KWORD" (keywords standing for values).
/// A fresh item becomes a directory; outlines it already holds are kept as they are. False, leaving
/// catalogue alone, for a null catalogue, one that holds a value, or a catalogue file that cannot be read.
QOR_OBJECTS_EXPORT bool outlineInit(CQorDataItem* catalogue) noexcept;

} // namespace QOR
