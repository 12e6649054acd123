// Feeds arbitrary bytes to the kernel-object reader. A file that passes its kind's schema must give a
// model or a clean refusal, and a model that builds must project into finite edges. Whatever the reader
// makes of the bytes, valid or not, is also drawn by the hole and wall images (the default host drawing
// the drillings with the modeller), which must survive data no schema has checked.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "qor/gdx/gdx.h"
#include "qor/image/bgr_image.h"
#include "qor/image/hole_image.h"
#include "qor/image/object_image.h"
#include "qor/image/wall_image.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/objlib/object_file.h"
#include "qor/objlib/solid.h"
#include "qor/objlib/view_dir.h"

namespace {

void expectFinite(const CQorArrayTempl<CQorVertexArrayEx>& edges) {
    for (const CQorVertexArrayEx& edge : edges)
        for (int i = 0; i < edge.len(); ++i)
            if (const CQorVertex& v = edge[i];
                !std::isfinite(v.start.x + v.start.y + v.start.z + v.end.x + v.end.y + v.end.z + v.bulge))
                std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CQorArrayTempl<CQorDataItem> chain;
    if (!QOR::objectFromJson(chain, std::string(text), nullptr)) return 0;
    CQorString key, reason;
    const bool valid = QOR::objCheck(&chain[0], &key, &reason);
    if (!valid && reason.isEmpty()) std::abort(); // a refusal always says why
    {
        static const bool kInstalled = (QOR::objectsInit(), true);
        (void)kInstalled;
        QOR::CDtaFilePointer object =
            QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead | QOR::kDtaWrite, nullptr, &chain[0]);
        CQorGDX gdx;
        qor_gdx_image_hole(&gdx, &object, &object);
        qor_gdx_image_wall(&gdx, &object, &object);
        qor_gdx_image_bgr(&gdx, &object, &object); // the object's own keys as the options: "FULL", "VIEW" ...
    }
    CQor_Solid solid;
    const bool modelled = QOR::objModel(solid, &chain[0]);
    if (modelled && !valid) std::abort(); // only what passes the schema reaches the modeller
    if (!modelled || !solid.solid()) return 0;
    CQorArrayTempl<CQorVertexArrayEx> visible, hidden;
    if (solid.project(QOR::g_mtx_view_dir(L"I", CQorPoint3d::kOrigin), false, visible, hidden, 1)) {
        expectFinite(visible);
        expectFinite(hidden);
    }
    return 0;
}
