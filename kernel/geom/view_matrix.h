#pragma once

#include "qor/kernel/geom/matrix3d.h"

namespace QOR {

/// The view matrix for looking at the model from direction dir.
///
/// Convention: dir points from the model towards the viewer (as AutoCAD's VIEWDIR: (0, 0, 1) is the
/// plan view, (0, -1, 0) the front view). The view system has its origin at origin, its Z axis along
/// dir (normalized, towards the viewer), and its X and Y axes from the arbitrary-axis algorithm
/// (CQorMatrix3d::setToPlaneToWorld): X is horizontal (world Z x dir) whenever dir is not near the world
/// Z axis, so world Z shows upwards on the screen; the plan view keeps world X and Y.
///
/// With toView true the result takes world coordinates to view coordinates (origin goes to (0, 0, 0));
/// with toView false it is the inverse, taking view coordinates back to the world. The matrix is a
/// rigid motion (no scaling, no mirroring). A zero, infinite or NaN dir gives the identity.
QOR_EXPORT CQorMatrix3d g_mtx_view(const CQorVector3d& dir, const CQorPoint3d& origin, bool toView);

} // namespace QOR
