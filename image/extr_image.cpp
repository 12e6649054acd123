#include "qor/image/extr_image.h"

#include "qor/gdx/gdx.h"
#include "qor/gdx/registry.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/kernel/host/host_app.h"

namespace {

/// A data item as one LISP list: a directory's entries wrapped, a value as it is, null as nil.
resbuf* lispArgument(const CQorDataItem* item, bool nilUnlessDir) {
    if (item == nullptr || (nilUnlessDir && !item->isDir())) return QOR::mkResbuf(RTNIL);
    resbuf* form = item->mkLisp();
    return item->isDir() ? QOR::rbToList(form) : form;
}

bool drawExtr(CQorGDX* gdx, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer* options) {
    if (gdx == nullptr || object == nullptr) return false;
    const int key = createGdxInMap(nullptr);
    if (key < 0) return false;
    QOR::CUniqResbuf args(QOR::mkResbuf(RTLONG, key));
    const CQorDataItem* root = object->get();
    args.append(root != nullptr ? lispArgument(root, false) : QOR::rbToList(nullptr));
    args.append(lispArgument(options != nullptr ? options->get() : nullptr, true));
    QOR::CUniqResbuf result;
    QOR::qorAppPtr()->callFunction(L"qor_gdx_image_extr", args.get(), result.out());

    CQorGDX* drawn = getGdxFromMap(key);
    if (drawn == nullptr || drawn->lenGet() == 0 || !gdx->addDisplayList(drawn->getDisplayList()))
        return false;
    gdx->projMtxSet(CQorMatrix3d());
    gdxMapRemoveAt(key);
    return true;
}

} // namespace

bool qor_gdx_image_extr(CQorGDX* gdx, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer* options) noexcept {
    return QOR::detail::guardedAt("qor_gdx_image_extr", false,
                                  [&] { return drawExtr(gdx, object, options); });
}
