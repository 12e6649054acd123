#pragma once

// Hatch lines for regions.
//
// Conventions
//  - A region is an array of loops: the first is the outer boundary, the others are holes. Closed loops
//    are turned counter-clockwise (seen from +Z) before use; open loops are used as they are. Loops are
//    taken in the XY projection of the space they are given in.
//  - Pattern definitions (kernel/data/hatch_pattern.h) come from the host application object by name, except
//    for "_USER" and "_U" (user-defined parallel lines: one line family at angle 0, distance 1 before
//    scaling). Pattern names are matched without regard to case; in qor_gdx_image_reg_hatch "DOTS"
//    means dots. An unknown name gives no lines.
//  - The hatch angle (radians, counter-clockwise) turns the whole pattern about the pattern space's
//    origin; the scale multiplies every length of the definition.
//  - A hatch line is a vertex array of straight dashes (not necessarily connected), in the loops' space.

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/data/hatch_prop.h"
#include "qor/kernel/geom/vertex_array.h"

/// True when the pattern of hatch is coarse enough to be drawn as lines in the region: across the outer
/// loop every line family has fewer than 95 lines, and its smallest line distance (or shift along the
/// line) times the scale of mtx (device units per model unit) exceeds 2.3 device units. When false the
/// renderer fills the region solid. loops are in model space; mtx takes model to device space.
QOR_EXPORT bool qor_gdx_pattern_test(CQorArrayTempl<CQorVertexArray> loops, const QOR::CHatchProp& hatch,
                                     const CQorMatrix3d& mtx);

/// The hatch lines of the pattern of hatch inside the region loops (holes left out). mtx takes pattern
/// space to the loops' space; the lines come back in the loops' space. For "_USER" and "_U" with the
/// double flag, the lines of the family at angle + pi/2 come first. A line whose intersections with the
/// loops are odd in number (a tangent touch) is left out.
QOR_EXPORT CQorArrayTempl<CQorVertexArray> qor_gdx_image_reg_hatch2(CQorArrayTempl<CQorVertexArray> loops,
                                                                    const CQorMatrix3d& mtx,
                                                                    const QOR::CHatchProp& hatch);

/// The older generator by name: "DOTS" gives rows of dots spacing apart (each dot a zero-length vertex
/// array); any other name gives lines at angle (radians) spacing apart across the region. The number of
/// lines follows the region's size in drawing units, not the spacing. loops and the result are in the
/// same space; mtx takes pattern space to it.
QOR_EXPORT CQorArrayTempl<CQorVertexArray> qor_gdx_image_reg_hatch(CQorArrayTempl<CQorVertexArray> loops,
                                                                   const CQorMatrix3d& mtx,
                                                                   const CQorString& name, double spacing,
                                                                   double angle);
