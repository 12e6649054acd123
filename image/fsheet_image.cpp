#include "qor/image/fsheet_image.h"

#include <cmath>

#include "qor/gdx/gdx.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_color.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_iterator.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/kernel/data/hatch_prop.h"
#include "qor/kernel/geom/plane.h"
#include "qor/objlib/attribute.h"
#include "qor/objlib/fsheet.h"
#include "qor/objlib/layer.h"
#include "qor/objlib/view_dir.h"

namespace {

using Polylines = CQorArrayTempl<CQorVertexArray>;

const CQorGDX::Path kNoPath;
const CQorArrayTempl<double> kSolid{1.0};

/// A coat colour and whether the sheet gives one.
struct Coat {
    CQorColor color;
    bool present = false;
};

/// The sheet's data, its definition's switches and what follows from them.
struct Sheet {
    CQorDataItem root; // a copy of the linked object's root; gets "VL"
    const CQorDataItem* definition = nullptr;
    CQorString draw, hpName;
    double seg = 0.0, n = 1.5, s = 0.0, hpScale = 1.0, hpAngle = 0.0;
    bool axis = false, coatLine = false, hatch2 = false, coord = false;
    CQorColor contour, fill, centre;
    Coat coat1, coat2;
    CQorMatrix3d mirror;
};

/// The layer named under key in the sheet's data, fallback when it names none.
CQorString layerName(const CQorDataItem& root, const wchar_t* key, const CQorString& fallback) {
    CQorString name = fallback;
    root.get(name, key);
    return name;
}

CQorColor layerColor(const CQorString& name) {
    CQorColor color;
    QOR::layer_color(color, name.c_str());
    return color;
}

bool readSheet(QOR::CDtaFilePointer& linked, QOR::CDtaFilePointer* options, Sheet& out) {
    const CQorDataItem* root = linked.get();
    if (root == nullptr) return false;
    out.root = *root;
    const CQorDataItem& data = out.root;
    CQorArrayTempl<CQorString> stack;
    double d = 0.0;
    data.get(stack, L"STACK");
    data.get(d, L"D");
    data.get(out.s, L"S");
    data.get(out.axis, L"AXIS");
    data.get(out.coatLine, L"COATLINE");
    data.get(out.hatch2, L"IS_HATCH2");
    data.get(out.draw, L"DRAW");
    data.get(out.hpName, L"HPNAME");
    if (out.draw == L"S") {
        data.get(out.hpScale, L"HPSCALE");
        data.get(out.hpAngle, L"HPANG");
    }
    const CQorDataItem* opt = options != nullptr ? options->get() : nullptr;
    if (opt != nullptr && opt->isDir()) opt->get(out.coord, L"COORD");

    const CQorString con = layerName(data, L"PART_CON", L"0");
    out.contour = layerColor(con);
    out.fill = layerColor(layerName(data, L"PART_FILL", con));
    out.centre = layerColor(layerName(data, L"PART_CEN", L"0"));
    if (out.coatLine) {
        out.coat1.present = QOR::dataItemGet(&data, CQorDataKey(L"SURFACE", L"1"), out.coat1.color);
        out.coat2.present = QOR::dataItemGet(&data, CQorDataKey(L"SURFACE", L"2"), out.coat2.color);
    }

    out.definition = QOR::fsheet_get(stack);
    if (out.definition == nullptr || !out.definition->isDir()) return false;
    const CQorDataItem& def = *out.definition;
    int horizontal = 1;
    def.get(out.seg, L"SEG");
    def.get(out.n, L"N");
    def.get(horizontal, L"HORIZONTAL");
    const double length = out.n == 0 || out.seg == 0 ? std::abs(d) * 5 : out.n * out.seg;
    if (horizontal == -1)
        out.mirror.setToMirroring(CQorPlane(CQorPoint3d(length / 2, 0, 0), CQorVector3d::kXAxis));
    if (out.axis) def.get(out.axis, CQorDataKey(L"", L"AXIS"));
    bool coat = false;
    if (out.coatLine && def.get(coat, CQorDataKey(L"", L"COAT")) && coat) out.coat2 = out.coat1;
    CQorVertexArray vl;
    vl.append(CQorPoint3d::kOrigin, CQorPoint3d(length, 0, 0));
    out.root.set(vl, L"VL");
    return true;
}

/// The polylines of a section as "DRAW" says: contours, or each as a filled or hatched region.
void drawSection(CQorGDX& gdx, const Sheet& sheet, const Polylines& list) {
    for (const CQorVertexArray& vl : list) {
        if (sheet.draw == L"S")
            gdx.imageReg(kNoPath, QOR::GdxItemOutline | QOR::GdxItemHatch, {vl}, sheet.contour, sheet.mirror,
                         kSolid, 1.0, 0, sheet.fill,
                         QOR::CHatchProp(sheet.hpName.c_str(), sheet.hpAngle, sheet.hpScale, false),
                         CQorPoint3d::kOrigin);
        else if (sheet.draw == L"L")
            gdx.imageReg(kNoPath, QOR::GdxItemOutline | QOR::GdxItemFill, {vl}, sheet.contour, sheet.mirror,
                         kSolid, 1.0, 0, sheet.fill, QOR::CHatchProp(), CQorPoint3d::kOrigin);
        else
            gdx.imageVl(kNoPath, 0, vl, sheet.contour, sheet.mirror, kSolid, 1.0, 0, CQorPoint3d::kOrigin);
    }
}

void drawLine(CQorGDX& gdx, const Sheet& sheet, const CQorVertexArray& vl, const CQorColor& color) {
    gdx.imageVl(kNoPath, 0, vl, color, sheet.mirror, kSolid, 1.0, 0, CQorPoint3d::kOrigin);
}

/// A bend axis at every multiple of SEG while the multiple is below N + 1.
void drawAxes(CQorGDX& gdx, const Sheet& sheet, const Polylines& list, double s) {
    const CQorVertexArray axis = QOR::fsheet_axis_vl(list, s);
    if (axis.isEmpty()) return;
    // The sections were made, so SEG periods fit kMaxProfileVertices; the bound keeps a malformed N finite.
    for (int i = 0; i < sheet.n + 1 && i <= QOR::kMaxProfileVertices; ++i)
        drawLine(gdx, sheet, CQorVertexArray(axis).move(CQorVector3d(sheet.seg * i, 0, 0)), sheet.centre);
}

void drawMarker(CQorGDX& gdx) {
    gdx.imagePt(kNoPath, QOR::GdxColorBase << QOR::kGdxColorModeShift, CQorPoint3d::kOrigin, CQorColor(),
                CQorMatrix3d(), 0.0, QOR::kGdxPdModeDefault, CQorPoint3d::kOrigin);
}

void drawSingle(CQorGDX& gdx, const Sheet& sheet) {
    const CQorDataItem& def = *sheet.definition;
    Polylines list;
    CQorVertexArray coat1, coat2;
    if (def.getItem(L"FILLET_P") != nullptr || def.getItem(L"POINTS") != nullptr)
        QOR::fsheet_vll_fillet(&sheet.root, list, coat1, coat2);
    else if (def.getItem(L"REGION") != nullptr)
        QOR::fsheet_vll_region(&sheet.root, list);
    else
        QOR::fsheet_vll_fnc(&sheet.root, list, coat1, coat2);
    drawSection(gdx, sheet, list);
    if (sheet.coatLine && sheet.coat1.present) drawLine(gdx, sheet, coat1, sheet.coat1.color);
    if (sheet.coatLine && sheet.coat2.present) drawLine(gdx, sheet, coat2, sheet.coat2.color);
    if (sheet.coord && !list.isEmpty()) drawMarker(gdx);
    if (sheet.axis) drawAxes(gdx, sheet, list, sheet.s);
}

/// The layers, fill colour and hatch of a core or gasket layer.
struct RegionStyle {
    CQorColor contour, fill;
    CQorString hpName;
    double hpScale = 1.0, hpAngle = 0.0;
};

RegionStyle regionStyle(const Sheet& sheet, const CQorString& type) {
    RegionStyle style;
    const wchar_t* attributeClass = type == L"GASKET" ? L"DICHT" : type == L"INSULATION" ? L"DM" : nullptr;
    if (attributeClass == nullptr) {
        style.contour = sheet.contour;
        style.fill = sheet.fill;
        return style;
    }
    const CQorAttributeMgr attributes(attributeClass);
    CQorString con = L"0";
    attributes.get(con, L"PART_CON");
    CQorString fill = con;
    attributes.get(fill, L"PART_FILL");
    style.contour = layerColor(con);
    style.fill = layerColor(fill);
    if (sheet.hatch2) {
        attributes.get(style.hpName, L"HPNAME");
        attributes.get(style.hpScale, L"HPSCALE");
        attributes.get(style.hpAngle, L"HPANG");
    }
    return style;
}

void drawRegionLayer(CQorGDX& gdx, const Sheet& sheet, const CQorString& type, const Polylines& list) {
    const RegionStyle style = regionStyle(sheet, type);
    if (!sheet.hatch2 || style.hpName.isEmpty())
        gdx.imageReg(kNoPath, QOR::GdxItemOutline, list, style.contour, sheet.mirror, kSolid, 1.0, 0,
                     CQorColor(), QOR::CHatchProp(), CQorPoint3d::kOrigin);
    else
        gdx.imageReg(kNoPath, QOR::GdxItemOutline | QOR::GdxItemHatch, list, style.contour, sheet.mirror,
                     kSolid, 1.0, 0, style.fill,
                     QOR::CHatchProp(style.hpName.c_str(), style.hpAngle, style.hpScale, false),
                     CQorPoint3d::kOrigin);
}

/// What the layers of a panel hand on to later layers.
struct Panel {
    CQorVertexArray top, bottom;
    CQorArrayTempl<Polylines> regions;
};

void drawLayer(CQorGDX& gdx, const Sheet& sheet, const CQorDataItem& layer, Panel& panel) {
    CQorArrayTempl<CQorString> stack;
    CQorString side;
    layer.get(stack, L"STACK");
    layer.get(side, L"SIDE");

    QOR::CDtaFilePointer opened =
        QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead | QOR::kDtaWrite, nullptr, &sheet.root);
    const int sid = QOR::fsheet_sid(&opened);
    double thickness = 0.0;
    sheet.definition->get(thickness, CQorDataKey(L"THICK", sid, side == L"BOT" ? L"S_BOT" : L"S"));
    const CQorMatrix3d place = QOR::g_mtx_local(&layer);

    const CQorDataItem* def = QOR::fsheet_get(stack);
    if (def == nullptr) return;
    CQorString calc, type;
    def->get(calc, CQorDataKey(L"", L"CALC"));
    def->get(type, CQorDataKey(L"", L"TYPE"));

    CQorDataItem copy(sheet.root);
    copy.set(stack, L"STACK");
    copy.set(thickness, L"S");
    copy.set(place, L"MTX");

    Polylines list;
    CQorVertexArray coat1, coat2;
    if (def->getItem(L"REGION") != nullptr)
        QOR::fsheet_vll_region(&copy, list);
    else if (def->getItem(L"FILLET_P") != nullptr)
        QOR::fsheet_vll_fillet(&copy, list, coat1, coat2);
    else if (calc == L"OUTLINE" && !panel.top.isEmpty() && !panel.bottom.isEmpty())
        QOR::fsheet_vll_outline(&copy, panel.top, panel.bottom, panel.regions, list);

    const CQorVertexArray first = list.isEmpty() ? CQorVertexArray() : list[0];
    if (side == L"TOP")
        panel.top = first;
    else if (side == L"BOT")
        panel.bottom = first;
    else if (calc == L"REGION")
        panel.regions.append(list);

    if (calc != L"REGION" && calc != L"OUTLINE") {
        drawSection(gdx, sheet, list);
        if (side == L"TOP") {
            if (sheet.axis) drawAxes(gdx, sheet, list, thickness);
            if (sheet.coatLine) drawLine(gdx, sheet, coat1, sheet.coat1.color);
            if (sheet.coord) drawMarker(gdx);
        } else if (side == L"BOT" && sheet.coatLine && sheet.coat2.present) {
            drawLine(gdx, sheet, coat1, sheet.coat2.color);
        }
    } else if (!list.isEmpty()) {
        drawRegionLayer(gdx, sheet, type, list);
    }
}

void drawPanel(CQorGDX& gdx, const Sheet& sheet) {
    Panel panel;
    for (QOR::CDataIterator it(sheet.definition->getItem(L"SANDWICH")); !it.done(); it.next())
        if (it.item()->isDir()) drawLayer(gdx, sheet, *it.item(), panel);
}

bool drawFsheet(CQorGDX* gdx, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer* options) {
    if (gdx == nullptr || object == nullptr) return false;
    QOR::CDtaFilePointer linked = object->lobjGet();
    Sheet sheet;
    if (!linked || !readSheet(linked, options, sheet)) return false;
    CQorString calc;
    sheet.definition->get(calc, CQorDataKey(L"", L"CALC"));
    if (calc == L"COMPOUND")
        drawPanel(*gdx, sheet);
    else
        drawSingle(*gdx, sheet);
    return true;
}

} // namespace

bool qor_gdx_image_fsheet(CQorGDX* gdx, QOR::CDtaFilePointer* object,
                          QOR::CDtaFilePointer* options) noexcept {
    return QOR::detail::guardedAt("qor_gdx_image_fsheet", false,
                                  [&] { return drawFsheet(gdx, object, options); });
}
