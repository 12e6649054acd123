#pragma once

#include "qor/kernel/geom/matrix3d.h"
#include "qor/objlib/export.h"

class CQorDataItem;
class CQorDataKey;

// Named views and local coordinate systems of kernel objects.
//
// A named view is one letter (or two for the corner isometrics), compared ignoring case. Its direction
// points from the model towards the viewer, as the direction of QOR::g_mtx_view (kernel/geom/view_matrix.h),
// which builds every matrix here: the view's X axis is horizontal (world Z x direction) and world Z shows
// upwards, except in the top view (world X to the right, Y up) and the bottom view (the arbitrary-axis
// algorithm's choice: world X to the left, Y up, as when the model is turned over about Y).
//
//   name   view                                   direction     NormView
//   "T"    top (plan)                             ( 0,  0,  1)  kNormViewTop (0)
//   "F"    front                                  ( 0, -1,  0)  kNormViewFront (1)
//   "S"    side: from the left, as European       (-1,  0,  0)  kNormViewSide (2)
//          (first-angle) drawings place it
//   "I"    isometric, from front right above      ( 1, -1,  1)  kNormViewIso (3)
//   "R"    right                                  ( 1,  0,  0)  kNormViewRight (4)
//   "L"    left                                   (-1,  0,  0)  kNormViewLeft (5)
//   "B"    back                                   ( 0,  1,  0)  kNormViewBack (6)
//   "U"    bottom (under)                         ( 0,  0, -1)  kNormViewBottom (7)
//   "E"    from the east (= "R")                  ( 1,  0,  0)
//   "W"    from the west (= "L")                  (-1,  0,  0)
//   "N"    from the north (= "B")                 ( 0,  1,  0)
//   "SE"   isometric from south-east (= "I")      ( 1, -1,  1)
//   "SW"   isometric from south-west              (-1, -1,  1)
//   "NE"   isometric from north-east              ( 1,  1,  1)
//   "NW"   isometric from north-west              (-1,  1,  1)
//
// The compass names put north at world +Y. The empty name and unknown names stand for the top view.

namespace QOR {

/// The standard views as kernel objects store them (an int, for example a drilling's "VIEW").
enum NormView : int {
    kNormViewNone = -1,
    kNormViewTop = 0,
    kNormViewFront = 1,
    kNormViewSide = 2,
    kNormViewIso = 3,
    kNormViewRight = 4,
    kNormViewLeft = 5,
    kNormViewBack = 6,
    kNormViewBottom = 7,
    kNormViewCount
};

/// The name of a standard view in the table above ("I" for kNormViewIso); null for kNormViewNone and
/// numbers outside the enumeration.
QOR_OBJECTS_EXPORT const wchar_t* normViewName(NormView view) noexcept;

/// Reads a standard view stored as an int at key below item (the item itself for an empty key). False,
/// view unchanged, for a null item, a missing entry, a value that is not an int or a number that names no
/// standard view (-1 included: it means "none" and is what a caller starts with).
QOR_OBJECTS_EXPORT bool dataItemGet(const CQorDataItem* item, const CQorDataKey& key,
                                    NormView& view) noexcept;

/// The direction of the named view (table above; unit length, towards the viewer). False, with dir set to
/// the top view's (0, 0, 1), for a null, empty or unknown name.
QOR_OBJECTS_EXPORT bool viewDirGet(const wchar_t* name, CQorVector3d& dir) noexcept;

/// The coordinate system of the named view, placed at origin: it takes view coordinates to world
/// coordinates (QOR::g_mtx_view(direction, origin, false)), the form CQor_Solid::project takes. Its
/// inverse takes world coordinates to the view. A null, empty or unknown name gives the top view (the
/// identity moved to origin).
QOR_OBJECTS_EXPORT CQorMatrix3d g_mtx_view_dir(const wchar_t* name, const CQorPoint3d& origin) noexcept;

/// True when the object placed by mtx (object to world) is seen along one of its own axes in view (world
/// to view coordinates): some axis of view * mtx points along the view's Z axis within kOrthoTolerance
/// (the sine of the angle between them), so its other two axes lie in the screen plane when the object's
/// axes are at right angles. False for singular or non-finite matrices.
QOR_OBJECTS_EXPORT bool isViewDirOrtho(const CQorMatrix3d& mtx, const CQorMatrix3d& view) noexcept;

/// The sine of the largest angle between an axis and the line of sight that isViewDirOrtho accepts.
inline constexpr double kOrthoTolerance = 1e-6;

/// The local coordinate system of an object or element (local to world coordinates) from its item:
///  - "MTX" (matrix) when the item holds one;
///  - else "ORIGIN" (point, default the world origin), "NORMAL" (the local Z axis, a point taken as a
///    vector, default (0, 0, 1)) and "XDIR" (the local X axis, made perpendicular to the normal; when it
///    is missing or parallel to the normal, the arbitrary-axis algorithm of
///    CQorMatrix3d::setToPlaneToWorld chooses it); Y = Z x X.
/// flag 1 gives the inverse (world to local); any other flag the system itself. With unit >= 0 and an
/// "INSUNIT" (the item's unit, Qor::lUnit) in the item, the translation is converted from that unit to
/// unit (QOR::acadUnitCv); unit -1 leaves lengths as stored.
/// False, with mtx the identity, for a null or non-directory item, a zero, non-finite or singular axis or
/// matrix, or a non-finite origin.
QOR_OBJECTS_EXPORT bool g_mtx_local(const CQorDataItem* item, CQorMatrix3d& mtx, int flag = 0,
                                    int unit = -1) noexcept;
/// g_mtx_local(item, mtx) as a value: the identity when the item gives no system.
QOR_OBJECTS_EXPORT CQorMatrix3d g_mtx_local(const CQorDataItem* item) noexcept;

} // namespace QOR
