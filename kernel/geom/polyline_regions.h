#pragma once

// Grouping closed loops into regions (an outer loop followed by the holes it contains). Geometry
// conventions: see arc_math.h; these functions work in the XY projection. Tolerances: polyline_tol.h.

#include "qor/kernel/geom/vertex_array.h"

namespace QOR {

/// Flags of g_vll_regions.
enum RegionFlags : int {
    /// Turn every outer loop counter-clockwise and every hole clockwise (seen from +Z).
    kRegionsOrient = 4,
};

/// Loops ready for g_vll_regions, built from a list of polylines: each polyline is split into its
/// connected pieces; zero-length vertices are dropped; pieces that are closed become loops; open
/// pieces are joined end to end (turned round where needed) wherever their ends meet within kOnTol,
/// and every chain that closes becomes a loop. Chains that stay open and loops that enclose no area
/// are dropped. Loops come in the order in which they are completed.
QOR_EXPORT CQorArrayTempl<CQorVertexArray> vll_regions_prepare(const CQorArrayTempl<CQorVertexArray>& vll);

/// Groups closed loops into regions by nesting: a loop inside an even number of others (0, 2 ...) is an
/// outer loop; a loop inside an odd number is a hole of the smallest loop that contains it. Each region
/// is its outer loop followed by its holes, regions in the order of their outer loops. With
/// kRegionsOrient in flags, outer loops run counter-clockwise and holes clockwise; other bits are
/// ignored. Loops that enclose no area are left out.
QOR_EXPORT CQorArrayTempl<CQorArrayTempl<CQorVertexArray>>
g_vll_regions(const CQorArrayTempl<CQorVertexArray>& loops, int flags);

} // namespace QOR
