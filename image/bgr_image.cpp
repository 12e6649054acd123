#include "qor/image/bgr_image.h"

#include <memory>

#include "qor/gdx/gdx.h"
#include "qor/image/bgr_image_p.h"
#include "qor/image/ucs_image.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/objlib/assembly.h"
#include "qor/objlib/layer.h"
#include "qor/objlib/object_file.h"
#include "qor/objlib/solid.h"
#include "qor/objlib/view_dir.h"

namespace {

using QOR::detail::kNoPath;
using QOR::detail::kSolidLine;

struct BgrOptions {
    CQorString view;
    bool full = false;
    CQorString act;
    int cmode = 0;
    bool coord = false;
    CQorMatrix3d mtx;
    bool ucs = false;
};

/// Reads the options in their documented order; the status values present go into status.
BgrOptions readOptions(QOR::CDtaFilePointer* options, CQorDataItem& status) {
    BgrOptions out;
    const CQorDataItem* root = options != nullptr ? options->get() : nullptr;
    if (root == nullptr || !root->isDir()) return out;
    root->get(out.view, L"VIEW");
    root->get(out.full, L"FULL");
    root->get(out.act, L"ACT");
    root->get(out.cmode, L"CMODE");
    root->get(out.coord, L"COORD");
    root->get(out.mtx, L"MTX");
    out.ucs = root->getItem(L"UCS") != nullptr;
    for (const wchar_t* key : {L"GEN_STAT", L"BGR_STAT", L"BGR_STAT2"}) {
        int value = -1; // an absent key stays -1 and is not copied
        root->get(value, key);
        if (value != -1) status.set(value, key);
    }
    return out;
}

/// The whole assembly as one solid: its visible edges.
bool drawFull(CQorGDX& gdx, CQorDataItem* root, CQorDataItem& status, const CQorMatrix3d& view, int cmode) {
    CQor_Solid solid;
    bool built = false;
    QOR::bgr_slx_bgr(solid, built, root, &status, CQorMatrix3d(), nullptr, false, true);
    if (built) solid.solid();
    CQorArrayTempl<CQorVertexArrayEx> visible, hidden;
    // The modeller takes the view's system in world coordinates: the inverse of view.
    if (!solid.project(view.inverse(), true, visible, hidden, 1)) return false;
    const DWORD flags = DWORD(cmode & 15) << QOR::kGdxColorModeShift;
    for (const CQorVertexArrayEx& edge : visible)
        gdx.imageVl(kNoPath, flags, edge, CQorColor(), CQorMatrix3d(), kSolidLine, 1.0, 0,
                    CQorPoint3d::kOrigin);
    return true;
}

bool drawBgr(CQorGDX* gdx, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer* options) {
    if (gdx == nullptr || object == nullptr) return false;
    CQorDataItem status;
    status.mkDir();
    BgrOptions opt = readOptions(options, status);
    const CQorMatrix3d view = QOR::g_mtx_view_dir(opt.view.c_str(), CQorPoint3d::kOrigin).inverse();
    if (opt.coord)
        gdx->imagePt(kNoPath, QOR::GdxColorBase << QOR::kGdxColorModeShift, CQorPoint3d::kOrigin, CQorColor(),
                     CQorMatrix3d(), 0.0, QOR::kGdxPdModeDefault, CQorPoint3d::kOrigin);
    CQorDataItem* root = object->get();
    if (opt.full) return drawFull(*gdx, root, status, view, opt.cmode);

    CQorDataItem parm;
    parm.mkDir();
    if (opt.cmode != 0) parm.set(opt.cmode, L"CMODE");
    parm.set(opt.mtx, L"MTX");
    if (!opt.act.isEmpty()) parm.set(opt.act, L"ACT");
    if (opt.coord) parm.set(true, L"COORD");
    const bool drawn = qor_gdx_image_bgr(gdx, root, &status, opt.mtx, view, &parm, 1.0, 0.0);
    if (opt.ucs) {
        if (opt.view == L"E") opt.view = L"W";
        qor_gdx_image_ucs(gdx, QOR::g_mtx_view_dir(opt.view.c_str(), CQorPoint3d::kOrigin));
    }
    return drawn;
}

bool drawElements(CQorGDX* gdx, CQorDataItem* objectData, CQorDataItem* status, CQorMatrix3d& mtx,
                  const CQorMatrix3d& view, CQorDataItem* parm, double d0, double d1) {
    if (gdx == nullptr || objectData == nullptr || status == nullptr || parm == nullptr || !parm->isDir())
        return false;
    CQorString act;
    parm->get(act, L"ACT");
    BgrBtMap map;
    qor_bgr_strong(objectData, status, CQorMatrix3d(), 1, parm, map);
    for (auto& entry : map) {
        const BgrBt& key = entry.key;
        CQorDataItem& value = entry.value;
        const std::unique_ptr<CQorDataItem> merged(QOR::bgr_data_merge(key.object, key.name, status));
        CQorDataItem* elementParm = value.getItem(L"PARM");
        if (elementParm == nullptr || !elementParm->isDir()) {
            value.remove(L"PARM");
            elementParm = value.makeDir(L"PARM");
        }
        if (elementParm == nullptr) continue;
        elementParm->set(int(QOR::lobj_unit(key.object)), L"DEFUNIT");
        elementParm->set(int(QOR::bgr_bt_unit(key.object, key.name)), L"INSUNIT");
        if (map.len() > 1 && key.name != act) elementParm->remove(L"COORD");
        CQorMatrix3d elementMtx = QOR::getBtTransformation(merged.get(), &value, mtx, d0, d1);
        qor_gdx_image_bgr_bt(gdx, merged.get(), elementMtx, view, elementParm);
    }
    return true;
}

/// One element type: how its member is called.
using Member = bool (*)(CQorGDX*, CQorDataItem*, CQorMatrix3d&, const CQorMatrix3d&, CQorDataItem*) noexcept;

Member memberFor(const CQorString& type, const CQorDataItem& element) {
    if (type == L"ROT") return qor_gdx_image_bgr_rot;
    if (type == L"ANGLE") return qor_gdx_image_bgr_angle;
    if (type == L"EXTR") return qor_gdx_image_bgr_extr;
    if (type == L"HATCH") return qor_gdx_image_bgr_hatch;
    if (type == L"DRILL") return qor_gdx_image_bgr_drill;
    if (type == L"OLV_NM") return qor_gdx_image_bgr_nm;
    if (type == L"SCORD") return qor_gdx_image_bgr_scord;
    if (type == L"PATH") return qor_gdx_image_bgr_path;
    if (type == L"COMPOUND") return qor_gdx_image_bgr_compound;
    if (type == L"SHEET") {
        CQorString scons;
        element.get(scons, L"SCONS");
        if (scons == L"EDGE") return qor_gdx_image_bgr_edge;
        if (scons == L"EDGE_N") return qor_gdx_image_bgr_edge_n;
        return qor_gdx_image_bgr_sheet;
    }
    return nullptr;
}

bool drawElement(CQorGDX* gdx, const CQorDataItem* element, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                 const CQorDataItem* parm) {
    if (gdx == nullptr || element == nullptr || !element->isDir() || parm == nullptr || !parm->isDir() ||
        !QOR::detail::usablePlacement(mtx) || !QOR::detail::usablePlacement(view) ||
        !QOR::checkBt(element, parm))
        return false;
    const std::unique_ptr<CQorDataItem> clone(element->clone());
    if (!clone) return false;
    QOR::objGen(clone.get(), 0);
    CQorString type;
    element->get(type, L"TYPE");
    CQorDataItem own(*parm);
    own.set(mtx, L"MTX");
    int cmode = 0;
    bool coord = false;
    own.get(cmode, L"CMODE");
    own.get(coord, L"COORD");
    if (cmode == 1 && coord)
        gdx->imagePt(kNoPath, QOR::GdxColorHighlight << QOR::kGdxColorModeShift,
                     QOR::getBtBasePoint(mtx, view, CQorPoint3d::kOrigin), CQorColor(), CQorMatrix3d(), 0.0,
                     QOR::kGdxPdModeDefault, CQorPoint3d::kOrigin);
    own.remove(L"COORD");
    if (type == L"SLICE") return qor_gdx_image_bgr_slice(gdx, mtx, view, &own);
    if (type == L"COMPOUND") own.remove(L"CUT");
    const Member member = memberFor(type, *clone);
    return member != nullptr && member(gdx, clone.get(), mtx, view, &own);
}

bool drawObj(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
             CQorDataItem* parm, const CQorColor& visibleColor, const CQorColor& hiddenColor) {
    if (gdx == nullptr) return false;
    CQorArrayTempl<CQorVertexArrayEx> visible, hidden;
    CQorArrayTempl<QOR::CSharedPointer<CQorDataItem>> items;
    if (!QOR::getProjectedGeometry(data, mtx, view, parm, visible, hidden, items)) return false;
    int cmode = 0;
    if (parm != nullptr) parm->get(cmode, L"CMODE");
    const DWORD flags = QOR::detail::colorModeFlags(cmode);
    for (const CQorVertexArrayEx& edge : visible)
        gdx->imageVl(kNoPath, flags, edge, visibleColor, CQorMatrix3d(), kSolidLine, 1.0, 0,
                     CQorPoint3d::kOrigin);
    if (cmode == 1)
        for (const CQorVertexArrayEx& edge : hidden)
            gdx->imageVl(kNoPath, QOR::GdxColorAux << QOR::kGdxColorModeShift, edge, hiddenColor,
                         CQorMatrix3d(), kSolidLine, 1.0, 0, CQorPoint3d::kOrigin);
    return true;
}

} // namespace

bool qor_gdx_image_bgr(CQorGDX* gdx, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer* options) noexcept {
    return QOR::detail::guardedAt("qor_gdx_image_bgr", false, [&] { return drawBgr(gdx, object, options); });
}

bool qor_gdx_image_bgr(CQorGDX* gdx, CQorDataItem* objectData, CQorDataItem* status, CQorMatrix3d& mtx,
                       const CQorMatrix3d& view, CQorDataItem* parm, double d0, double d1) noexcept {
    return QOR::detail::guardedAt("qor_gdx_image_bgr", false, [&] {
        return drawElements(gdx, objectData, status, mtx, view, parm, d0, d1);
    });
}

bool qor_gdx_image_bgr_bt(CQorGDX* gdx, const CQorDataItem* element, CQorMatrix3d& mtx,
                          const CQorMatrix3d& view, const CQorDataItem* parm) noexcept {
    return QOR::detail::guardedAt("qor_gdx_image_bgr_bt", false,
                                  [&] { return drawElement(gdx, element, mtx, view, parm); });
}

bool qor_gdx_image_bgr_obj(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                           CQorDataItem* parm, const CQorColor& visible, const CQorColor& hidden) noexcept {
    return QOR::detail::guardedAt("qor_gdx_image_bgr_obj", false,
                                  [&] { return drawObj(gdx, data, mtx, view, parm, visible, hidden); });
}
