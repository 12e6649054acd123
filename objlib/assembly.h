#pragma once

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/map_templ.h"
#include "qor/kernel/base/pointers.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/geom/matrix3d.h"
#include "qor/kernel/geom/vertex_array.h"
#include "qor/kernel/locale/units.h"
#include "qor/objlib/export.h"

class CQor_Solid;

// Assemblies ("KIND": "BGR"; the schema and each element type's keys are in objlib/README.md): the object
// library's services that the assembly image calls. An assembly's elements are the children of its "BT"
// directory; each is placed by its own "MTX" (or "ORIGIN", "NORMAL", "XDIR") and drawn from its own
// coordinates. Lengths in drawing units as the file holds them (no unit is converted); angles in degrees.
//
// Matrices: mtx takes an element's coordinates to world (assembly) coordinates, view takes world
// coordinates to view coordinates (the inverse of QOR::g_mtx_view_dir). Edges come back in view
// coordinates, z = 0.

/// The key of an element in the element map: the assembly's root item, the element's name and its place
/// in the assembly's "BT". The map runs in the order the file lists the elements.
struct QOR_OBJECTS_EXPORT BgrBt {
    const CQorDataItem* object = nullptr;
    CQorString name;
    int order = 0;

    /// By place, then name; one map holds the elements of one assembly, so the object is not compared.
    bool operator<(const BgrBt& other) const noexcept;
    bool operator==(const BgrBt& other) const noexcept;
};

/// Element map: each element's key and its data item, whose "PARM" directory holds its drawing
/// parameters.
using BgrBtMap = CQorMapTempl<BgrBt, CQorDataItem>;

namespace QOR {

/// Where a drilling implied by an element goes: the drilling as an element of its own ("TYPE" "DRILL",
/// "BT" the drilling's object) and its placement (drilling to world coordinates).
struct QOR_OBJECTS_EXPORT DrillPlacement_st {
    CSharedPointer<CQorDataItem> drill;
    CQorMatrix3d mtx;
};
using DrillPlacements = CQorArrayTempl<DrillPlacement_st>;

/// Checks an assembly root item: "KIND" "BGR", "BT" a directory of elements each passing checkBt's
/// element schema. badKey names the key by its path ("BT\PLATE\THICK").
QOR_OBJECTS_EXPORT bool bgrCheck(const CQorDataItem* root, CQorString* badKey = nullptr,
                                 CQorString* reason = nullptr) noexcept;

/// True when element is a directory whose "TYPE" is known and whose keys follow that type's schema, and
/// parm is a directory (or null).
QOR_OBJECTS_EXPORT bool checkBt(const CQorDataItem* element, const CQorDataItem* parm) noexcept;

/// The element name of the assembly object merged with what the element inherits from the assembly:
/// "PART" and "PART_HID" when it has none of its own. A new item the caller deletes; null when object
/// has no such element. status is read by no stand-in and may be null.
QOR_OBJECTS_EXPORT CQorDataItem* bgr_data_merge(const CQorDataItem* object, const CQorString& name,
                                                const CQorDataItem* status) noexcept;

/// The assembly's unit: its "INSUNIT", else the host's drawing unit.
QOR_OBJECTS_EXPORT Qor::lUnit lobj_unit(const CQorDataItem* object) noexcept;
/// An element's unit: its own "INSUNIT", else the assembly's (lobj_unit).
QOR_OBJECTS_EXPORT Qor::lUnit bgr_bt_unit(const CQorDataItem* object, const CQorString& name) noexcept;

/// The element's placement: mtx x the element's own system (QOR::g_mtx_local of merged), its offset
/// from the assembly origin scaled by spread (1.0 as assembled, more for an exploded view). reach grows
/// to the largest offset seen (callers start it at 0). value, the map's entry, is not read.
QOR_OBJECTS_EXPORT CQorMatrix3d getBtTransformation(const CQorDataItem* merged, const CQorDataItem* value,
                                                    const CQorMatrix3d& mtx, double spread,
                                                    double& reach) noexcept;

/// The element's origin in view coordinates (z dropped): view x mtx x origin.
QOR_OBJECTS_EXPORT CQorPoint3d getBtBasePoint(const CQorMatrix3d& mtx, const CQorMatrix3d& view,
                                              const CQorPoint3d& origin) noexcept;

/// True when the object placed by mtx is seen along one of its axes (QOR::isViewDirOrtho); out then
/// takes the object's coordinates to view coordinates (view x mtx), the "MTX" under which a host draws
/// it seen from above. data and bt are not read.
QOR_OBJECTS_EXPORT bool isBtOrthoView(const CQorDataItem* data, const CQorMatrix3d& mtx,
                                      const CQorMatrix3d& view, const CQorDataItem* bt,
                                      CQorMatrix3d& out) noexcept;

/// The element's solid (with its drillings cut, unless parm holds "NO_DRILL" 1) projected with exact
/// hidden-line removal: visible and hidden edges in view coordinates. items is emptied. False, with
/// both arrays empty, when the element has no solid ("SLICE", "SCORD" children that fail) or the
/// modeller fails.
QOR_OBJECTS_EXPORT bool getProjectedGeometry(const CQorDataItem* data, const CQorMatrix3d& mtx,
                                             const CQorMatrix3d& view, const CQorDataItem* parm,
                                             CQorArrayTempl<CQorVertexArrayEx>& visible,
                                             CQorArrayTempl<CQorVertexArrayEx>& hidden,
                                             CQorArrayTempl<CSharedPointer<CQorDataItem>>& items) noexcept;

/// The drillings of a "SHEET" of "SCONS" "EDGE" (its "HOLES" on the top face), placed in world
/// coordinates by mtx; placements is replaced. False when data is no such sheet.
QOR_OBJECTS_EXPORT bool getEdgeDrillData(DrillPlacements& placements, const CQorDataItem* data,
                                         const CQorDataItem* parm, const CQorMatrix3d& mtx,
                                         const CQorMatrix3d& view) noexcept;
/// getEdgeDrillData for a sheet of "SCONS" "EDGE_N".
QOR_OBJECTS_EXPORT bool getEdgeNDrillData(DrillPlacements& placements, const CQorDataItem* data,
                                          const CQorDataItem* parm, const CQorMatrix3d& mtx,
                                          const CQorMatrix3d& view) noexcept;
/// The drillings of an "EXTR" ("HOLES" along "HOLE_DIR"), bt being its drilling.
QOR_OBJECTS_EXPORT bool getExtrDrillData(DrillPlacements& placements, const CQorDataItem* data,
                                         const CQorDataItem* bt, const CQorDataItem* parm,
                                         const CQorMatrix3d& mtx, const CQorMatrix3d& view) noexcept;
/// The drillings of an "ANGLE" ("HOLES1" on the first leg, "HOLES2" on the second), bt its drilling.
QOR_OBJECTS_EXPORT bool getAngleDrillData(DrillPlacements& placements, const CQorDataItem* data,
                                          const CQorDataItem* bt, const CQorDataItem* parm,
                                          const CQorMatrix3d& mtx, const CQorMatrix3d& view) noexcept;

/// The whole assembly as one solid: every element's solid placed by mtx x its system and joined, with
/// its own drillings cut when withDrills; then, when withDrills, the "DRILL" elements and the drillings
/// of coordinate-driven sets cut from all of it. skipParts leaves standard parts and sets out. built tells
/// whether any body was recorded; the caller builds the model (solid.solid()). parm is not read. False for a
/// null or non-directory object.
QOR_OBJECTS_EXPORT bool bgr_slx_bgr(CQor_Solid& solid, bool& built, const CQorDataItem* object,
                                    const CQorDataItem* status, const CQorMatrix3d& mtx,
                                    const CQorDataItem* parm, bool skipParts, bool withDrills) noexcept;

} // namespace QOR

/// Fills map with the elements of the assembly object (its "BT" children, in file order): each entry's
/// value is the element's item with "PARM" a copy of parm (a fresh directory when parm is null). mtx and
/// flag are kept for the host's own object library and not read; status neither. False for a null or
/// non-directory object or when it has no elements.
QOR_OBJECTS_EXPORT bool qor_bgr_strong(const CQorDataItem* object, const CQorDataItem* status,
                                       const CQorMatrix3d& mtx, int flag, const CQorDataItem* parm,
                                       BgrBtMap& map) noexcept;

/// Checks an angle joint before it is drawn: 0 < "ANG" < 180 and legs longer than the thickness needs at
/// that angle; "INSUNIT" and "DEFUNIT", when present, name real units.
QOR_OBJECTS_EXPORT bool qor_bgr_bt_angle_check(const CQorDataItem* data) noexcept;
