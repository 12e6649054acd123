#include "qor/image/bar_image.h"

#include "qor/gdx/gdx.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_color.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/kernel/data/hatch_prop.h"
#include "qor/objlib/bar.h"
#include "qor/objlib/view_dir.h"

namespace {

const CQorGDX::Path kNoPath;
const CQorArrayTempl<double> kSolid{1.0};
/// Surfaces whose coating gives no colour are drawn green.
constexpr int kUncoatedColorIndex = 3;
/// Pick points: a negative size is a share of the window's height, mode 3 a cross.
constexpr double kPickSize = -10.0;
constexpr DWORD kPickMode = 3;

/// The regions of an element or sub-element: its profile "XREF" when it has one, else its own.
QOR::BarRegions regionsOf(const CQorDataItem& item) {
    const CQorDataItem* xref = item.getItem(L"XREF");
    if (xref == nullptr) return QOR::barRegions(&item);
    QOR::CDtaFilePointer profile =
        QOR::dtaOpen(QOR::kDtaScratch, QOR::kDtaRead | QOR::kDtaWrite, nullptr, xref);
    return QOR::bar_regl(&profile, CQorMatrix3d());
}

CQorMatrix3d placement(const CQorDataItem& item) {
    CQorMatrix3d mtx;
    if (!item.get(mtx, L"MTX")) mtx = QOR::g_mtx_local(&item);
    return mtx;
}

void drawRegions(CQorGDX& gdx, const QOR::BarRegions& regions, DWORD flags, const CQorMatrix3d& mtx) {
    for (const CQorArrayTempl<CQorVertexArray>& region : regions)
        gdx.imageReg(kNoPath, flags, region, CQorColor(), mtx, kSolid, 1.0, 0, CQorColor(), QOR::CHatchProp(),
                     CQorPoint3d::kOrigin);
}

void drawSurfaces(CQorGDX& gdx, const CQorDataItem& element, const QOR::BarRegions& regions) {
    for (const wchar_t* name : {L"1", L"2", L"TOTAL"}) {
        const CQorDataItem* surface = element.getItem(CQorDataKey(L"SURFACE", name));
        if (surface == nullptr || !surface->isDir()) continue;
        CQorVertexArray vl;
        if (CQorString(name) == L"TOTAL") {
            if (!regions.isEmpty()) vl = regions[0][0];
        } else {
            surface->get(vl, L"VL");
        }
        if (vl.isEmpty()) continue;
        CQorColor coat(kUncoatedColorIndex);
        QOR::dataItemGet(surface, L"COAT", coat);
        gdx.imageVl(kNoPath, 0, vl, coat, CQorMatrix3d(), kSolid, 1.0, 3, CQorPoint3d::kOrigin);
    }
}

/// The directory child of dir called name (one text component: a name holding a backslash is no path).
const CQorDataItem* child(const CQorDataItem* dir, const CQorString& name) {
    CQorDataKey key;
    if (dir == nullptr || !key.set(CQorDataKey::kText, name.c_str())) return nullptr;
    const CQorDataItem* item = dir->getItem(key);
    return item != nullptr && item->isDir() ? item : nullptr;
}

bool drawBar(CQorGDX* gdx, QOR::CDtaFilePointer* object, QOR::CDtaFilePointer* options) {
    if (gdx == nullptr || object == nullptr || options == nullptr) return false;
    QOR::CDtaFilePointer linked = object->lobjGet();
    const CQorDataItem* opt = options->get();
    if (!linked || opt == nullptr) return false;
    CQorString grp, bt;
    opt->get(grp, L"GRP");
    opt->get(bt, L"BT");
    const CQorDataItem* group = child(linked.get(), grp);
    const CQorDataItem* element = child(group, bt);
    if (element == nullptr) return false;

    const QOR::BarRegions regions = regionsOf(*element);
    drawRegions(*gdx, regions, QOR::GdxItemOutline, CQorMatrix3d());
    drawSurfaces(*gdx, *element, regions);
    for (const wchar_t* name : {L"P1", L"P2"}) {
        CQorPoint3d pick;
        if (opt->get(pick, CQorDataKey(L"PICK", name)))
            gdx->imagePt(kNoPath, QOR::GdxColorHighlight << QOR::kGdxColorModeShift, pick, CQorColor(),
                         CQorMatrix3d(), kPickSize, kPickMode, CQorPoint3d::kOrigin);
    }

    const CQorMatrix3d toElement = placement(*element).inverse();
    CQorArrayTempl<CQorDataKey> subs;
    QOR::bar_bt_subs(subs, object->get(), grp, bt);
    for (const CQorDataKey& key : subs) {
        const CQorDataItem* sub = group->getItem(key);
        if (sub == nullptr) continue;
        drawRegions(*gdx, regionsOf(*sub),
                    QOR::GdxItemOutline | (QOR::GdxColorAux << QOR::kGdxColorModeShift),
                    toElement * placement(*sub));
    }
    return true;
}

} // namespace

bool qor_gdx_image_bar_surface(CQorGDX* gdx, QOR::CDtaFilePointer* object,
                               QOR::CDtaFilePointer* options) noexcept {
    return QOR::detail::guardedAt("qor_gdx_image_bar_surface", false,
                                  [&] { return drawBar(gdx, object, options); });
}
