#pragma once

#include "qor/gdx/gdx.h"

// What the assembly image's files share.

namespace QOR::detail {

/// Every item of the assembly image has an empty item path and a solid line type.
inline const CQorGDX::Path kNoPath;
inline const CQorArrayTempl<double> kSolidLine{1.0};

} // namespace QOR::detail
