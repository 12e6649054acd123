// The display list's defaults taken from the host and the configuration.

#include "gdx/gdx_p.h"

CQorGDX::CQorGDX() = default;
