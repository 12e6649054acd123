#pragma once

#include "qor/kernel/base/string.h"
#include "qor/objlib/export.h"

class CQorDataItem;
class CQor_Solid;

// Standard parts ("KIND": "NM"; the schema is in objlib/README.md) from a small bundled table: hexagon
// bolts (ISO 4017, full thread) and hexagon nuts (ISO 4032), sizes M6 to M20. Lengths in drawing units
// (millimetres in the table). A part stands on its origin with its axis along Z: a bolt's head lies above
// the XY plane (its bearing face on it) and its shank runs down -Z; a nut lies below the plane, so that a
// bolt and a nut put on the two faces of a plate hold it between them.

namespace QOR {

/// One row of the table.
struct QOR_OBJECTS_EXPORT StandardSize_st {
    const wchar_t* size; ///< "M10"
    double diameter;     ///< nominal diameter d
    double acrossFlats;  ///< width across the flats s
    double headHeight;   ///< bolt head height k
    double nutHeight;    ///< nut height m
};

/// The row of size ("M10", exact), or null.
QOR_OBJECTS_EXPORT const StandardSize_st* standardSize(const wchar_t* size) noexcept;

/// Checks a standard part's item: "NORM" "ISO4017" or "ISO4032", "SIZE" in the table, "LEN" (bolts, > 0
/// and at most CQor_Solid::kMaxCoordinate). badKey and reason as objCheck gives them.
QOR_OBJECTS_EXPORT bool nmCheck(const CQorDataItem* root, CQorString* badKey = nullptr,
                                CQorString* reason = nullptr) noexcept;

/// Replaces the bodies of solid by the part's: a bolt's hexagon head and shank, or a nut's hexagon with
/// its bore cut out. False, leaving solid alone, when root does not pass nmCheck.
QOR_OBJECTS_EXPORT bool nmModel(CQor_Solid& solid, const CQorDataItem* root) noexcept;

} // namespace QOR
