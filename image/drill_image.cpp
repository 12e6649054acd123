#include "qor/image/drill_image.h"

#include "qor/gdx/gdx.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/kernel/host/host_app.h"
#include "qor/objlib/layer.h"
#include "qor/objlib/object_file.h"
#include "qor/objlib/solid.h"
#include "qor/objlib/view_dir.h"

namespace {

struct DrillOptions {
    int cmode = 0;
    CQorMatrix3d mtx;
    bool coord = false;
    CQorGDX::Path stack;
};

DrillOptions readOptions(QOR::CDtaFilePointer* options) {
    DrillOptions out;
    const CQorDataItem* root = options != nullptr ? options->get() : nullptr;
    if (root == nullptr || !root->isDir()) return out;
    root->get(out.cmode, L"CMODE");
    root->get(out.mtx, L"MTX");
    root->get(out.coord, L"COORD");
    root->get(out.stack, L"STACK");
    return out;
}

/// The isometric image: visible edges of the drilling's solid. False when the solid fails.
bool drawIsometric(CQorGDX& gdx, const CQorDataItem* root, const CQorGDX::Path& path) {
    CQor_Solid solid;
    if (!QOR::objModel(solid, root) || !solid.solid()) return false;
    // x = (1, 1, 0) / sqrt 2, z = (1, -1, 1) / sqrt 3, y = z x x: the table's isometric view.
    const CQorMatrix3d view = QOR::g_mtx_view_dir(QOR::normViewName(QOR::kNormViewIso), CQorPoint3d::kOrigin);
    CQorArrayTempl<CQorVertexArrayEx> visible, hidden;
    if (!solid.project(view, false, visible, hidden, 1)) return false;

    CQorString layer = L"0";
    root->get(layer, L"PART_SOLID");
    CQorColor color;
    QOR::layer_color(color, layer.c_str());
    for (const CQorVertexArrayEx& edge : visible)
        gdx.imageVl(path, 0, edge, color, CQorMatrix3d(), {1.0}, 1.0, 0, CQorPoint3d::kOrigin);
    return true;
}

bool drawDrill(CQorGDX* gdx, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer* options) {
    if (gdx == nullptr) return false;
    DrillOptions opt = readOptions(options);
    opt.stack.append(1);

    const CQorDataItem* root = object != nullptr ? object->get() : nullptr;
    QOR::NormView view = QOR::kNormViewNone;
    QOR::dataItemGet(root, L"VIEW", view);
    if (view == QOR::kNormViewIso) return drawIsometric(*gdx, root, opt.stack);

    CQorDataItem parm;
    parm.set(opt.cmode, L"CMODE");
    parm.set(opt.mtx, L"MTX");
    parm.set(opt.stack, L"STACK");
    QOR::qorAppPtr()->objectImage(gdx, root, &parm);
    if (opt.coord) {
        opt.stack[opt.stack.len() - 1] += 1;
        gdx->imagePt(opt.stack, QOR::GdxColorBase << QOR::kGdxColorModeShift, CQorPoint3d::kOrigin,
                     CQorColor(), CQorMatrix3d(), 0.0, QOR::kGdxPdModeDefault, CQorPoint3d::kOrigin);
    }
    return true;
}

} // namespace

bool qor_gdx_image_drill(CQorGDX* gdx, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer* options) noexcept {
    return QOR::detail::guardedAt("qor_gdx_image_drill", false,
                                  [&] { return drawDrill(gdx, object, options); });
}
