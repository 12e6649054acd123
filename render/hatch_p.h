#pragma once

// What the three hatch generators share. Internal to render/.

#include "qor/kernel/data/hatch_pattern.h"
#include "qor/kernel/data/hatch_prop.h"
#include "qor/kernel/geom/vertex_array.h"

namespace QOR::detail {

/// Turns every closed loop counter-clockwise about +Z; open loops stay as they are.
void orientLoops(CQorArrayTempl<CQorVertexArray>& loops);

/// Transforms every loop by m.
void transformLoops(CQorArrayTempl<CQorVertexArray>& loops, const CQorMatrix3d& m);

/// True when name is the pattern name (compared without regard to case).
bool isPatternName(const CQorString& name, const wchar_t* which);

/// True for the names of user-defined parallel lines, "_USER" and "_U".
bool isUserPattern(const CQorString& name);

/// The pattern definition of name: the built-in single line (angle 0, origin 0, distance 1) for a user
/// pattern, otherwise the host application object's definition; empty when unknown.
CQorPatternDef hatchPattern(const CQorString& name);

/// Arrays patternTest works in; kept by a caller that tests often, so that it allocates only to grow.
struct PatternTestScratch {
    CQorVertexArray oriented;
    CQorVertexArray placed;
};

/// qor_gdx_pattern_test of a region whose outer loop is outer (only that loop decides), with the
/// definition of the hatch pattern already looked up (scale is the hatch scale); may throw
/// std::bad_alloc.
bool patternTest(const CQorVertexArray& outer, const CQorPatternDef& def, double scale,
                 const CQorMatrix3d& mtx, PatternTestScratch& scratch);

/// qor_gdx_image_reg_hatch2 with the definition of hatch's pattern already looked up and the length of
/// its dots (kPatternDotMm) in drawing units; may throw std::bad_alloc.
CQorArrayTempl<CQorVertexArray> hatchLines(CQorArrayTempl<CQorVertexArray> loops, const CQorMatrix3d& mtx,
                                           const CHatchProp& hatch, const CQorPatternDef& def,
                                           double dotLength);

/// Most lines one line family may produce. Far above anything drawable (the renderer fills a region
/// solid from 95 lines on), it keeps a pathological scale or region from running for hours; a family
/// of reg_hatch2 that would need more gives none, the older generator stops at this many.
inline constexpr int kMaxFamilyLines = 1 << 16;

} // namespace QOR::detail
