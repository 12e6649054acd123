#include "qor/image/hole_image.h"

#include "qor/gdx/gdx.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_iterator.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/kernel/data/hatch_prop.h"
#include "qor/kernel/host/host_app.h"
#include "qor/objlib/hole.h"
#include "qor/objlib/layer.h"
#include "qor/objlib/object_file.h"
#include "qor/objlib/outline.h"
#include "qor/objlib/view_dir.h"

namespace {

struct HoleOptions {
    CQorString act;
    CQorMatrix3d mtx;
    int cmode = 0;
    bool coord = false;
};

struct HoleSettings {
    CQorString draw, partCon, partFill, hpName;
    double hpScale = 1.0, hpAngle = 0.0;
};

HoleOptions readOptions(QOR::CDtaFilePointer* options) {
    HoleOptions out;
    const CQorDataItem* root = options != nullptr ? options->get() : nullptr;
    if (root == nullptr || !root->isDir()) return out;
    root->get(out.act, L"ACT");
    root->get(out.mtx, L"MTX");
    root->get(out.cmode, L"CMODE");
    root->get(out.coord, L"COORD");
    return out;
}

HoleSettings readSettings(const CQorDataItem* root) {
    HoleSettings out;
    if (root == nullptr) return out;
    // Two-part keys whose first part is the empty name.
    root->get(out.draw, CQorDataKey(L"", L"DRAW"));
    root->get(out.partCon, CQorDataKey(L"", L"PART_CON"));
    root->get(out.partFill, CQorDataKey(L"", L"PART_FILL"));
    root->get(out.hpName, CQorDataKey(L"", L"HPNAME"));
    root->get(out.hpScale, CQorDataKey(L"", L"HPSCALE"));
    root->get(out.hpAngle, CQorDataKey(L"", L"HPANG"));
    return out;
}

const CQorGDX::Path kNoPath;
const CQorArrayTempl<double> kSolid{1.0};

void drawElement(CQorGDX& gdx, CQorDataItem& element, const CQorString& name, const HoleOptions& opt,
                 const HoleSettings& set, const CQorColor& contour, const CQorColor& fill) {
    CQorDataItem* gen = element.getItem(L"GEN");
    CQorString type;
    if (gen != nullptr) gen->get(type, L"TYPE");
    CQorMatrix3d local;
    if (!element.get(local, L"MTX")) QOR::g_mtx_local(&element, local, 0, -1);
    const CQorMatrix3d place = opt.mtx * local;
    const bool active = name == opt.act;
    if (opt.coord && active)
        gdx.imagePt(kNoPath, QOR::GdxColorHighlight << QOR::kGdxColorModeShift, place * CQorPoint3d::kOrigin,
                    CQorColor(7), CQorMatrix3d(), 0.0, QOR::kGdxPdModeDefault, CQorPoint3d::kOrigin);

    CQorArrayTempl<CQorVertexArray> polylines;
    if (gen != nullptr && type.isEmpty()) {
        gen->get(polylines);
    } else if (type == L"OUTLINE") {
        CQorVertexArray vl;
        QOR::g_outline(vl, gen, -1);
        polylines.append(vl);
    }
    const int mode = active ? 1 : opt.cmode;

    if (type != L"DRILL") {
        for (CQorVertexArray& vl : polylines) {
            if (vl.isEmpty()) continue;
            vl.transformBy(place);
            gdx.imageVl(kNoPath, DWORD(mode & 15) << QOR::kGdxColorModeShift, vl, contour, CQorMatrix3d(),
                        kSolid, 1.0, 0, CQorPoint3d::kOrigin);
            if (set.draw == L"F")
                gdx.imageReg(kNoPath, QOR::GdxItemOutline | QOR::GdxItemFill, {vl}, contour, CQorMatrix3d(),
                             kSolid, 1.0, 0, fill, QOR::CHatchProp(), CQorPoint3d::kOrigin);
            else if (set.draw == L"S")
                gdx.imageReg(kNoPath, QOR::GdxItemOutline | QOR::GdxItemHatch, {vl}, contour, CQorMatrix3d(),
                             kSolid, 1.0, 0, fill,
                             QOR::CHatchProp(set.hpName.c_str(), set.hpAngle, set.hpScale, false),
                             CQorPoint3d::kOrigin);
        }
    } else {
        QOR::objGen(gen, 0);
        CQorDataItem parm;
        parm.set(place, L"MTX");
        parm.set(mode, L"CMODE");
        QOR::qorAppPtr()->objectImage(&gdx, gen, &parm);
    }
    if (opt.coord)
        gdx.imagePt(kNoPath, QOR::GdxColorBase << QOR::kGdxColorModeShift,
                    CQorPoint3d::kOrigin + opt.mtx.translation(), CQorColor(), CQorMatrix3d(), 0.0,
                    QOR::kGdxPdModeDefault, CQorPoint3d::kOrigin);
}

bool drawHole(CQorGDX* gdx, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer* options) {
    if (gdx == nullptr) return false;
    QOR::CDtaFilePointer picked;
    if (object == nullptr) {
        QOR::CAdsName entity;
        if (!QOR::qorAppPtr()->entitySelect(entity, L"HOLE", true)) return true;
        picked = QOR::dtaOpen(QOR::kDtaEntity, QOR::kDtaRead | QOR::kDtaWrite, entity);
        object = &picked;
    }
    const HoleOptions opt = readOptions(options);
    CQorDataItem* root = object->get();
    const HoleSettings set = readSettings(root);
    CQorColor contour, fill;
    QOR::layer_color(contour, set.partCon.c_str());
    QOR::layer_color(fill, set.partFill.c_str());
    CQorDataItem* elements = root != nullptr ? root->getItem(L"BT") : nullptr;
    for (QOR::CDataIterator it(elements); !it.done(); it.next())
        if (QOR::isHoleElementKey(*it.key()))
            drawElement(*gdx, *it.item(), it.key()->text(), opt, set, contour, fill);
    return true;
}

} // namespace

bool qor_gdx_image_hole(CQorGDX* gdx, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer* options) noexcept {
    return QOR::detail::guardedAt("qor_gdx_image_hole", false,
                                  [&] { return drawHole(gdx, object, options); });
}
