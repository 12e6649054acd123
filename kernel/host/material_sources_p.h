#pragma once

class CQorDataItem;

namespace QOR::detail {

/// The configuration's material library ("*MATERIAL*"), or null.
const CQorDataItem* configMaterialLibrary() noexcept;
/// The materials of the host's current drawing ("*QOR_HOST*\MATERIAL"), or null.
const CQorDataItem* configDrawingMaterials() noexcept;

} // namespace QOR::detail
