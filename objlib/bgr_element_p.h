#pragma once

#include "qor/objlib/assembly.h"

class CQor_Solid;

// The elements of an assembly as solids, each in its own coordinates (objlib/README.md lists the types
// and their keys).

namespace QOR::detail {

/// Checks an element's keys against its type's schema; badKey and reason as objCheck gives them.
bool elementCheck(const CQorDataItem* element, CQorString* badKey, CQorString* reason);

/// Replaces the bodies of solid by the element's, its implied drillings cut when withDrills. False when
/// the element breaks its schema or has no solid of its own ("SLICE").
bool elementModel(CQor_Solid& solid, const CQorDataItem* element, bool withDrills);

/// The drillings the element implies, in its own coordinates (appended): those of its "HOLES", or a
/// coordinate-driven set's "DRILL" children (which elementModel leaves to the assembly to cut). False
/// when it breaks its schema.
bool elementDrills(const CQorDataItem* element, DrillPlacements& placements);

} // namespace QOR::detail
