#include "qor/image/wall_image.h"

#include "qor/gdx/gdx.h"
#include "qor/image/registry.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_iterator.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/objlib/layer.h"

namespace {

const CQorGDX::Path kNoPath;
const CQorArrayTempl<double> kSolid{1.0};

/// What the configuration says about the wall being edited, copied out under its lock.
struct WallEditConfig {
    int number = 0;
    bool numbered = false; ///< "BT" could be read
    CQorString mode;
    CQorVertexArray vl;
};

WallEditConfig readConfig() {
    WallEditConfig out;
    const QOR::CCfgLock lock;
    if (const CQorDataItem* edit = QOR::cfg_get(L"*WALL_EDIT*")) {
        out.numbered = edit->get(out.number, L"BT");
        edit->get(out.mode, L"MODE");
        edit->get(out.vl, L"VL");
    }
    return out;
}

bool drawWallEdit(CQorGDX* gdx, QOR::CDtaFilePointer* wall) {
    if (gdx == nullptr) return false;
    QOR::CDtaFilePointer options =
        QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead | QOR::kDtaWrite, nullptr, nullptr);
    CQorArrayTempl<CQorDataKey> walls;
    if (wall != nullptr) wall->dir(walls, L"SN");
    WallEditConfig config = readConfig();
    if (!walls.isEmpty()) {
        bool known = false;
        for (const CQorDataKey& key : walls)
            known = known || (config.numbered && key == CQorDataKey(config.number));
        if (!known) {
            config.number = walls[0].toInt();
            config.numbered = true;
        }
    }
    CQorString cornerMode;
    if (wall != nullptr && wall->get() != nullptr)
        wall->get()->get(cornerMode, CQorDataKey(L"CORNER", L"MODE"));

    CQorDataItem* parm = options.get();
    if (parm == nullptr) return false;
    parm->set(config.vl, L"VL");
    if (config.mode == L"SHELL" || (config.mode == L"CORNER" && cornerMode == L"SHELL"))
        parm->set(config.number, L"ACT");
    parm->set(1, L"COORD");
    return config.numbered && qor_gdx_image(L"WALL", gdx, wall, &options);
}

bool drawWalls(CQorGDX* gdx, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer* options) {
    const CQorDataItem* root = object != nullptr ? object->get() : nullptr;
    if (gdx == nullptr || root == nullptr) return false;
    const CQorDataItem* opt = options != nullptr ? options->get() : nullptr;
    int cmode = 0, act = 0;
    bool hasAct = false, coord = false;
    CQorVertexArray editing;
    if (opt != nullptr && opt->isDir()) {
        opt->get(cmode, L"CMODE");
        hasAct = opt->get(act, L"ACT");
        opt->get(coord, L"COORD"); // an int reads as a bool too
        opt->get(editing, L"VL");
    }
    const int before = gdx->lenGet();
    for (QOR::CDataIterator it(root->getItem(L"SN")); !it.done(); it.next()) {
        CQorVertexArray outline;
        if (!it.item()->get(outline, L"VL") || outline.isEmpty()) continue;
        CQorString layer = L"KONTUR";
        it.item()->get(layer, L"PART");
        CQorColor color;
        QOR::layer_color(color, layer.c_str());
        const bool active = hasAct && it.key()->type() == CQorDataKey::kShort && it.key()->toInt() == act;
        const DWORD mode = DWORD(active ? 1 : cmode & 15) << QOR::kGdxColorModeShift;
        gdx->imageVl(kNoPath, mode, outline, color, CQorMatrix3d(), kSolid, 1.0, 0, CQorPoint3d::kOrigin);
        if (active)
            gdx->imageReg(kNoPath, QOR::GdxItemOutline | QOR::GdxItemFill, {outline}, color, CQorMatrix3d(),
                          kSolid, 1.0, 0, color, QOR::CHatchProp(), CQorPoint3d::kOrigin);
    }
    if (!editing.isEmpty())
        gdx->imageVl(kNoPath, QOR::GdxColorAux << QOR::kGdxColorModeShift, editing, CQorColor(),
                     CQorMatrix3d(), kSolid, 1.0, 0, CQorPoint3d::kOrigin);
    if (coord)
        gdx->imagePt(kNoPath, QOR::GdxColorBase << QOR::kGdxColorModeShift, CQorPoint3d::kOrigin, CQorColor(),
                     CQorMatrix3d(), 0.0, QOR::kGdxPdModeDefault, CQorPoint3d::kOrigin);
    return gdx->lenGet() > before;
}

} // namespace

bool qor_wall_edit_image(CQorGDX* gdx, QOR::CDtaFilePointer* wall) noexcept {
    return QOR::detail::guardedAt("qor_wall_edit_image", false, [&] { return drawWallEdit(gdx, wall); });
}

bool qor_gdx_image_wall(CQorGDX* gdx, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer* options) noexcept {
    return QOR::detail::guardedAt("qor_gdx_image_wall", false,
                                  [&] { return drawWalls(gdx, object, options); });
}
