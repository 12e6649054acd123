#pragma once

#include "qor/gdx/gdx.h"

// What the assembly image's files share.

namespace QOR::detail {

/// Every item of the assembly image has an empty item path and a solid line type.
inline const CQorGDX::Path kNoPath;
inline const CQorArrayTempl<double> kSolidLine{1.0};

/// True for a matrix that can place an element: finite and invertible. A NaN that came with the data
/// would otherwise reach the items' coordinates.
inline bool usablePlacement(const CQorMatrix3d& m) {
    CQorMatrix3d copy = m;
    return copy.invert();
}

/// The item flags of a colour mode: the mode in bits 8 to 11; a mode of 16 or more gives none.
inline DWORD colorModeFlags(int cmode) {
    return cmode < 16 ? DWORD(cmode & 15) << kGdxColorModeShift : 0;
}

} // namespace QOR::detail
