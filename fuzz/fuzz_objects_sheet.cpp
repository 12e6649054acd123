// Feeds arbitrary bytes, read as a kernel object file with its chain of linked objects, to the
// formed-sheet, bar-surface and extrusion images. The formed sheet and the bar read the object's linked
// object (the chain's second item, else the object itself); every image takes the object's root as its
// options too. Whatever the bytes hold, the images draw or refuse without a fault, the bundled sheet
// catalogue answering their "STACK".
#include <cstddef>
#include <cstdint>
#include <string>

#include "qor/gdx/gdx.h"
#include "qor/gdx/registry.h"
#include "qor/image/bar_image.h"
#include "qor/image/extr_image.h"
#include "qor/image/fsheet_image.h"
#include "qor/image/object_image.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/dta_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CQorArrayTempl<CQorDataItem> chain;
    if (!QOR::objectFromJson(chain, std::string(reinterpret_cast<const char*>(data), size), nullptr))
        return 0;
    static const bool kInstalled = (QOR::objectsInit(), true); // the default host's extrusion section
    (void)kInstalled;

    QOR::CAdsName root, linked;
    if (!QOR::dtaCreate(root, &chain[0]) || !QOR::dtaCreate(linked, &chain[chain.len() > 1 ? 1 : 0]) ||
        !QOR::dtaLink(root, linked))
        return 0;
    {
        QOR::CDtaFilePointer object = QOR::dtaOpen(QOR::kDtaEntity, QOR::kDtaRead | QOR::kDtaWrite, root);
        CQorGDX gdx;
        qor_gdx_image_fsheet(&gdx, &object, &object);
        qor_gdx_image_bar_surface(&gdx, &object, &object);
        // The image leaves its registry list behind when the host drew nothing: remove it, so that runs
        // do not pile lists up.
        const int key = gdxMapKeyNew();
        qor_gdx_image_extr(&gdx, &object, &object);
        gdxMapRemoveAt(key);
    }
    QOR::dtaErase(root);
    QOR::dtaErase(linked);
    return 0;
}
