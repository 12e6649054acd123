// The members of the assembly image, one per element type.
#include "qor/gdx/gdx.h"
#include "qor/image/bgr_image.h"
#include "qor/image/bgr_image_p.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_iterator.h"
#include "qor/kernel/geom/polyline_ops.h"
#include "qor/kernel/host/host_app.h"
#include "qor/objlib/assembly.h"
#include "qor/objlib/layer.h"
#include "qor/objlib/object_file.h"
#include "qor/objlib/outline.h"
#include "qor/objlib/view_dir.h"

namespace {

using QOR::detail::guardedAt;
using QOR::detail::kNoPath;
using QOR::detail::kSolidLine;

using Parms = bool (*)(CQorGDX*, CQorDataItem*, CQorMatrix3d&, const CQorMatrix3d&, CQorDataItem*);

bool usable(const CQorGDX* gdx, const CQorDataItem* data, const CQorDataItem* parm) {
    return gdx != nullptr && data != nullptr && data->isDir() && parm != nullptr && parm->isDir();
}

/// Which colour the hidden edges take: the first layer's, the second layer's or a default colour.
enum class HiddenColor { kFirst, kSecond, kDefault };

/// The common step in the colours of layerItem's layers (QOR::getBtLayer).
bool drawInLayers(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                  CQorDataItem* parm, HiddenColor hidden, const CQorDataItem* layerItem) {
    CQorString firstLayer, secondLayer;
    QOR::getBtLayer(layerItem, firstLayer, secondLayer);
    CQorColor first, second;
    QOR::layer_color(first, firstLayer.c_str());
    QOR::layer_color(second, secondLayer.c_str());
    const CQorColor hiddenColor = hidden == HiddenColor::kFirst    ? first
                                  : hidden == HiddenColor::kSecond ? second
                                                                   : CQorColor();
    return qor_gdx_image_bgr_obj(gdx, data, mtx, view, parm, first, hiddenColor);
}

/// Each placement drawn as a drilling element.
void drawDrillings(CQorGDX* gdx, const QOR::DrillPlacements& placements, const CQorMatrix3d& view,
                   CQorDataItem* parm) {
    for (const QOR::DrillPlacement_st& place : placements) {
        CQorMatrix3d mtx = place.mtx;
        qor_gdx_image_bgr_drill(gdx, place.drill.get(), mtx, view, parm);
    }
}

/// A drilling or a standard part: in an orthogonal view the host draws it from its "BT", otherwise its
/// projected edges are drawn.
bool drawHandedOff(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                   CQorDataItem* parm, HiddenColor hidden) {
    if (!usable(gdx, data, parm)) return false;
    const CQorDataItem* bt = data->getItem(L"BT");
    if (bt == nullptr) return false;
    CQorDataItem btCopy(*bt);
    QOR::objGen(&btCopy, 0);
    CQorMatrix3d seen;
    if (!QOR::isBtOrthoView(data, mtx, view, &btCopy, seen))
        return drawInLayers(gdx, data, mtx, view, parm, hidden, &btCopy);
    CQorDataItem item;
    item.mkDir();
    int cmode = 0;
    parm->get(cmode, L"CMODE");
    item.set(seen, L"MTX");
    item.set(cmode, L"CMODE");
    return QOR::qorAppPtr()->objectImage(gdx, &btCopy, &item);
}

/// Runs a member inside the library's error boundary.
bool guarded(const char* name, Parms body, CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx,
             const CQorMatrix3d& view, CQorDataItem* parm) noexcept {
    return guardedAt(name, false,
                     [&] { return usable(gdx, data, parm) && body(gdx, data, mtx, view, parm); });
}

bool drawAngle(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
               CQorDataItem* parm) {
    CQorDataItem btCopy;
    if (const CQorDataItem* bt = data->getItem(L"BT")) btCopy = *bt;
    CQorDataItem checked(*data);
    for (const wchar_t* key : {L"INSUNIT", L"DEFUNIT"}) {
        int unit = 0;
        if (parm->get(unit, key)) checked.set(unit, key);
    }
    if (!qor_bgr_bt_angle_check(&checked)) return false;
    if (QOR::isViewDirOrtho(mtx, view)) {
        parm->set(1, L"NO_DRILL");
        QOR::DrillPlacements placements;
        QOR::getAngleDrillData(placements, data, &btCopy, parm, mtx, view);
        drawDrillings(gdx, placements, view, parm);
    }
    return drawInLayers(gdx, data, mtx, view, parm, HiddenColor::kFirst, data);
}

bool drawExtrusion(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                   CQorDataItem* parm) {
    CQorDataItem btCopy;
    if (const CQorDataItem* bt = data->getItem(L"BT")) btCopy = *bt;
    if (btCopy.getItem(L"TYPE") != nullptr) QOR::objGen(&btCopy, 0);
    if (QOR::isViewDirOrtho(mtx, view)) {
        parm->set(1, L"NO_DRILL");
        QOR::DrillPlacements placements;
        QOR::getExtrDrillData(placements, data, &btCopy, parm, mtx, view);
        drawDrillings(gdx, placements, view, parm);
    }
    return drawInLayers(gdx, data, mtx, view, parm, HiddenColor::kSecond, data);
}

bool drawEdge(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
              CQorDataItem* parm) {
    parm->set(1, L"NO_DRILL");
    parm->set(view, L"MTX_PR");
    QOR::DrillPlacements placements;
    QOR::getEdgeDrillData(placements, data, parm, mtx, view);
    drawDrillings(gdx, placements, view, parm);
    return drawInLayers(gdx, data, mtx, view, parm, HiddenColor::kSecond, data);
}

bool drawEdgeN(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
               CQorDataItem* parm) {
    if (QOR::isViewDirOrtho(mtx, view)) {
        parm->set(1, L"NO_DRILL");
        QOR::DrillPlacements placements;
        QOR::getEdgeNDrillData(placements, data, parm, mtx, view);
        drawDrillings(gdx, placements, view, parm);
    }
    return drawInLayers(gdx, data, mtx, view, parm, HiddenColor::kSecond, data);
}

bool drawSet(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
             CQorDataItem* parm) {
    const CQorDataItem* bt = data->getItem(L"BT");
    if (bt == nullptr || !bt->isDir()) return false;
    const CQorDataItem children(*bt);
    for (QOR::CDataIterator it(&children); !it.done(); it.next()) {
        const CQorDataItem& child = *it.item();
        CQorString type;
        if (!child.get(type, CQorDataKey(L"BT", L"TYPE"))) continue;
        CQorMatrix3d own;
        child.get(own, L"MTX");
        CQorMatrix3d childMtx = mtx * own;
        CQorDataItem item;
        item.mkDir();
        item.setItem(*child.getItem(L"BT"), L"BT");
        for (const wchar_t* key : {L"PART", L"CUT", L"BGR"})
            if (const CQorDataItem* inherited = data->getItem(key)) item.setItem(*inherited, key);
        if (type == L"DIN") {
            item.set(L"OLV_NM", L"TYPE");
            item.set(0, L"UNION");
            qor_gdx_image_bgr_nm(gdx, &item, childMtx, view, parm);
        } else if (type == L"DRILL") {
            item.set(L"DRILL", L"TYPE");
            item.set(1, L"SUBTRACT");
            qor_gdx_image_bgr_drill(gdx, &item, childMtx, view, parm);
        }
    }
    return true;
}

bool drawSlice(CQorGDX* gdx, CQorMatrix3d& mtx, const CQorMatrix3d& view, CQorDataItem* parm) {
    if (gdx == nullptr || parm == nullptr || !parm->isDir() || !QOR::detail::usablePlacement(mtx) ||
        !QOR::detail::usablePlacement(view))
        return false;
    int cmode = 0;
    parm->get(cmode, L"CMODE");
    if (cmode == 0) cmode = QOR::GdxColorAxis;
    const DWORD flags = QOR::detail::colorModeFlags(cmode);
    CQorVertexArray axis;
    axis.append(CQorPoint3d::kOrigin, CQorPoint3d(0, 0, 10));
    for (CQorVertexArray vl : {QOR::g_outline(22, CQorVector3d(), {-10.0}), axis}) {
        QOR::vl_split_dif(vl, 0.1);
        vl.transformBy(mtx);
        QOR::g_vl_proje_mtx_orig(vl, view, 0.1);
        gdx->imageVl(kNoPath, flags, vl, CQorColor(), CQorMatrix3d(), kSolidLine, 1.0, 0,
                     CQorPoint3d::kOrigin);
    }
    return true;
}

template <HiddenColor hidden>
bool drawPlain(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
               CQorDataItem* parm) {
    return drawInLayers(gdx, data, mtx, view, parm, hidden, data);
}

template <HiddenColor hidden>
bool drawBt(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
            CQorDataItem* parm) {
    return drawHandedOff(gdx, data, mtx, view, parm, hidden);
}

} // namespace

bool qor_gdx_image_bgr_angle(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                             CQorDataItem* parm) noexcept {
    return guarded("qor_gdx_image_bgr_angle", drawAngle, gdx, data, mtx, view, parm);
}
bool qor_gdx_image_bgr_compound(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                                CQorDataItem* parm) noexcept {
    return guarded("qor_gdx_image_bgr_compound", drawPlain<HiddenColor::kFirst>, gdx, data, mtx, view, parm);
}
bool qor_gdx_image_bgr_drill(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                             CQorDataItem* parm) noexcept {
    return guarded("qor_gdx_image_bgr_drill", drawBt<HiddenColor::kFirst>, gdx, data, mtx, view, parm);
}
bool qor_gdx_image_bgr_edge(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                            CQorDataItem* parm) noexcept {
    return guarded("qor_gdx_image_bgr_edge", drawEdge, gdx, data, mtx, view, parm);
}
bool qor_gdx_image_bgr_edge_n(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                              CQorDataItem* parm) noexcept {
    return guarded("qor_gdx_image_bgr_edge_n", drawEdgeN, gdx, data, mtx, view, parm);
}
bool qor_gdx_image_bgr_extr(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                            CQorDataItem* parm) noexcept {
    return guarded("qor_gdx_image_bgr_extr", drawExtrusion, gdx, data, mtx, view, parm);
}
bool qor_gdx_image_bgr_hatch(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                             CQorDataItem* parm) noexcept {
    return guarded("qor_gdx_image_bgr_hatch", drawPlain<HiddenColor::kFirst>, gdx, data, mtx, view, parm);
}
bool qor_gdx_image_bgr_nm(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                          CQorDataItem* parm) noexcept {
    return guarded("qor_gdx_image_bgr_nm", drawBt<HiddenColor::kDefault>, gdx, data, mtx, view, parm);
}
bool qor_gdx_image_bgr_path(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                            CQorDataItem* parm) noexcept {
    return guarded("qor_gdx_image_bgr_path", drawPlain<HiddenColor::kFirst>, gdx, data, mtx, view, parm);
}
bool qor_gdx_image_bgr_rot(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                           CQorDataItem* parm) noexcept {
    return guarded("qor_gdx_image_bgr_rot", drawPlain<HiddenColor::kDefault>, gdx, data, mtx, view, parm);
}
bool qor_gdx_image_bgr_scord(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                             CQorDataItem* parm) noexcept {
    return guarded("qor_gdx_image_bgr_scord", drawSet, gdx, data, mtx, view, parm);
}
bool qor_gdx_image_bgr_sheet(CQorGDX* gdx, CQorDataItem* data, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                             CQorDataItem* parm) noexcept {
    return guarded("qor_gdx_image_bgr_sheet", drawPlain<HiddenColor::kSecond>, gdx, data, mtx, view, parm);
}
bool qor_gdx_image_bgr_slice(CQorGDX* gdx, CQorMatrix3d& mtx, const CQorMatrix3d& view,
                             CQorDataItem* parm) noexcept {
    return guardedAt("qor_gdx_image_bgr_slice", false, [&] { return drawSlice(gdx, mtx, view, parm); });
}
