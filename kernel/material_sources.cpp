#include "kernel/material_sources_p.h"

namespace QOR::detail {

const CQorDataItem* configMaterialLibrary() noexcept {
    return nullptr;
}

const CQorDataItem* configDrawingMaterials() noexcept {
    return nullptr;
}

} // namespace QOR::detail
