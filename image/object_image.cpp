#include "qor/image/object_image.h"

#include "qor/gdx/gdx.h"
#include "qor/image/extr_image.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/host/host_app.h"
#include "qor/objlib/layer.h"
#include "qor/objlib/object_file.h"
#include "qor/objlib/outline.h"
#include "qor/objlib/solid.h"
#include "qor/objlib/view_dir.h"

namespace {

// The built-in dashed pattern of the display list, for edges the solid hides.
const CQorArrayTempl<double> kHiddenLine{1.0, 1.0, 0.0};

struct ImageParm {
    CQorMatrix3d mtx;
    int cmode = 0;
    CQorGDX::Path stack;
};

bool drawObject(CQorGDX* gdx, const CQorDataItem* object, const CQorDataItem* parm) {
    if (gdx == nullptr || object == nullptr || !object->isDir()) return false;
    ImageParm p;
    if (parm != nullptr && parm->isDir()) {
        parm->get(p.mtx, L"MTX");
        parm->get(p.cmode, L"CMODE");
        parm->get(p.stack, L"STACK");
    }
    const DWORD flags = DWORD(p.cmode & 15) << QOR::kGdxColorModeShift;
    QOR::NormView normView = QOR::kNormViewTop;
    QOR::dataItemGet(object, L"VIEW", normView);
    const CQorMatrix3d view = QOR::g_mtx_view_dir(QOR::normViewName(normView), CQorPoint3d::kOrigin);

    // objGen completes a copy: the host is handed the caller's item and must not change it.
    CQorDataItem own(*object);
    if (!QOR::objGen(&own, 0)) return false;
    CQorString kind;
    CQorVertexArray outline;
    if (!own.get(kind, L"KIND") && own.get(outline, L"VL")) {
        CQorColor color;
        QOR::layer_color(color, L"KONTUR");
        outline.transformBy(view.inverse() * p.mtx);
        gdx->imageVl(p.stack, flags, outline, color, CQorMatrix3d(), {1.0}, 1.0, 0, CQorPoint3d::kOrigin);
        return true;
    }

    CQor_Solid solid;
    if (!QOR::objModel(solid, &own) || !solid.solid()) return false;
    CQorMatrix3d model = p.mtx;
    if (!model.invert()) return false;
    CQorArrayTempl<CQorVertexArrayEx> visible, hidden;
    if (!solid.project(model * view, false, visible, hidden, 1)) return false;
    CQorString layer = L"BOHRUNG";
    own.get(layer, L"PART_SOLID");
    CQorColor color;
    QOR::layer_color(color, layer.c_str());
    for (const CQorVertexArrayEx& edge : visible)
        gdx->imageVl(p.stack, flags, edge, color, CQorMatrix3d(), {1.0}, 1.0, 0, CQorPoint3d::kOrigin);
    for (const CQorVertexArrayEx& edge : hidden)
        gdx->imageVl(p.stack, flags, edge, color, CQorMatrix3d(), kHiddenLine, 1.0, 0, CQorPoint3d::kOrigin);
    return true;
}

/// Installed while the library is loaded; taken out again at unload unless something replaced it.
struct Installer {
    Installer() noexcept { QOR::objectsInit(); }
    ~Installer() {
        const QOR::ObjectImageFcn installed = QOR::setDefaultObjectImage(nullptr);
        if (installed != qor_object_image) QOR::setDefaultObjectImage(installed);
        QOR::setHostFcn(L"qor_gdx_image_extr", {}); // it would outlive the code it calls
    }
};
const Installer kInstaller;

} // namespace

namespace QOR {

void objectsInit() noexcept {
    setDefaultObjectImage(qor_object_image);
    setHostFcn(L"qor_gdx_image_extr", extrSectionHostFcn);
}

} // namespace QOR

bool qor_object_image(CQorGDX* gdx, const CQorDataItem* object, const CQorDataItem* parm) noexcept {
    return QOR::detail::guardedAt("qor_object_image", false, [&] { return drawObject(gdx, object, parm); });
}
