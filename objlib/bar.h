#pragma once

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/data/data_key.h"
#include "qor/kernel/geom/matrix3d.h"
#include "qor/kernel/geom/vertex_array.h"
#include "qor/objlib/export.h"

class CQorDataItem;

// Bars: elements of a group in a bar object's linked object, each a cross-section in its XY plane
// (objlib/README.md, "Bars"). A region is an outer loop followed by its holes.

namespace QOR {

class CDtaFilePointer;

/// Regions of a cross-section.
using BarRegions = CQorArrayTempl<CQorArrayTempl<CQorVertexArray>>;

/// The cross-section of an item: its "REGL" (a list of regions, each a list of loops) when that holds
/// any, else the regions the loops of its "VL" (a list of polylines, joined where their ends meet) make,
/// outer loops counter-clockwise. Empty for a null item or one with neither.
QOR_OBJECTS_EXPORT BarRegions barRegions(const CQorDataItem* item) noexcept;

/// The cross-section of an opened bar profile (barRegions of its root), moved by mtx. Empty for a null
/// or closed pointer.
QOR_OBJECTS_EXPORT BarRegions bar_regl(CDtaFilePointer* profile, const CQorMatrix3d& mtx) noexcept;

/// Replaces keys by the keys of the sub-elements mounted on element bt of group grp: the texts of the
/// array under "SUBS\<grp>\<bt>" in objectRoot, the bar object's own root, in order, each a whole name (a
/// backslash in it is no path separator; empty texts are skipped). False, with keys emptied, when there is no
/// such array.
QOR_OBJECTS_EXPORT bool bar_bt_subs(CQorArrayTempl<CQorDataKey>& keys, const CQorDataItem* objectRoot,
                                    const CQorString& grp, const CQorString& bt) noexcept;

} // namespace QOR
