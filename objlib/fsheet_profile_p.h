#pragma once

// The geometry behind the formed-sheet functions (objlib/fsheet.h, whose conventions apply): profile
// points in the sheet's XY plane, z carrying a bend's fillet radius where a caller says so.

#include "qor/kernel/geom/point3d_array.h"
#include "qor/kernel/geom/vertex_array.h"

namespace QOR::detail {

/// The profile points of one period (x from 0 to seg) repeated every seg from x = 0 and cut at x =
/// length (the cut point interpolated, radius 0). Points repeating the one before are dropped. False
/// when seg or length is not positive and finite, a point is not finite, or more than maxPoints points
/// would come out.
bool tileProfile(const CQorPoint3dArray& period, double seg, double length, int maxPoints,
                 CQorPoint3dArray& out);

/// The points moved by s to the right of the polyline's direction (down for a profile running to +X):
/// each inner point to where the two moved neighbouring pieces meet, the ends square to their piece.
/// z (a radius) becomes radius + s where the line bends left, max(radius - s, 0) where it bends right.
CQorPoint3dArray offsetProfile(const CQorPoint3dArray& points, double s);

/// The polyline through the points with each inner point that is a bend of shape (its z positive and
/// its pieces turning) rounded by an arc of the point's z as radius, shrunk where a neighbouring piece is
/// too short to hold it (each bend takes at most half of a piece). A bend gives a straight vertex and an
/// arc vertex even where they have no length, so two lines filleted with one shape (a line and its
/// offsetProfile) have the same number of vertices. shape has as many points as points (a line is its
/// own shape). z of the result is 0.
CQorVertexArray filletProfile(const CQorPoint3dArray& points, const CQorPoint3dArray& shape);

/// The closed section of a sheet from its coat lines: upper, a straight vertex to the end of lower,
/// lower backwards and a straight vertex back to the start of upper.
CQorVertexArray sectionOutline(const CQorVertexArray& upper, const CQorVertexArray& lower);

} // namespace QOR::detail
