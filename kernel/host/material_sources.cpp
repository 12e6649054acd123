#include "qor/kernel/host/material_sources_p.h"

#include "qor/kernel/data/config.h"

namespace QOR::detail {

const CQorDataItem* configMaterialLibrary() noexcept {
    return cfg_get(L"*MATERIAL*");
}

const CQorDataItem* configDrawingMaterials() noexcept {
    return cfg_get(L"*QOR_HOST*\\MATERIAL");
}

} // namespace QOR::detail
