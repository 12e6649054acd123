// The default host's side of the extrusion image: the section of an extrusion object drawn into the
// registry list the generator made.
#include "qor/gdx/gdx.h"
#include "qor/gdx/registry.h"
#include "qor/image/extr_image.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/hatch_prop.h"
#include "qor/kernel/geom/polyline_regions.h"
#include "qor/objlib/layer.h"
#include "qor/objlib/outline.h"

namespace QOR {

namespace {

/// Reads the one argument that starts at rb (a value or a whole list) into item; rb moves past it. A
/// nil argument leaves item a fresh item.
bool readArgument(const resbuf*& rb, CQorDataItem& item) {
    if (rb == nullptr) return false;
    const resbuf* next = rbSkip(rb);
    if (rb->restype == RTNIL) {
        rb = next;
        return true;
    }
    // setData reads a whole chain: hand it a copy of this argument alone.
    CUniqResbuf copy(rbCopy(rb));
    resbuf* last = copy.get();
    for (const resbuf* e = rb; last != nullptr && e->rbnext != next; e = e->rbnext)
        last = last->rbnext;
    if (last == nullptr) return false;
    qorRelRb(last->rbnext);
    last->rbnext = nullptr;
    rb = next;
    return item.setData(copy.get());
}

/// The section's loops: "VL" (a list of polylines), else the outline "OUTLINE" names.
CQorArrayTempl<CQorVertexArray> sectionLoops(const CQorDataItem& object) {
    CQorArrayTempl<CQorVertexArray> loops;
    if (object.get(loops, L"VL")) return loops;
    CQorVertexArray outline;
    const CQorDataItem* parms = object.getItem(L"OUTLINE");
    if (parms != nullptr && parms->isDir() && g_outline(outline, parms, -1)) loops.append(outline);
    return loops;
}

int drawSection(const resbuf* args) {
    int key = 0;
    if (args == nullptr || !fromRb(key, args)) return RTERROR;
    const resbuf* rb = args->rbnext;
    CQorDataItem object, options;
    if (!readArgument(rb, object) || !readArgument(rb, options) || !object.isDir()) return RTERROR;
    CQorGDX* gdx = getGdxFromMap(key);
    if (gdx == nullptr) return RTERROR;
    const auto regions = g_vll_regions(vll_regions_prepare(sectionLoops(object)), kRegionsOrient);
    if (regions.isEmpty()) return RTERROR;

    CQorString con = L"KONTUR", fill, hpName;
    object.get(con, L"PART_CON");
    fill = con;
    object.get(fill, L"PART_FILL");
    double hpScale = 1.0, hpAngle = 0.0;
    object.get(hpName, L"HPNAME");
    object.get(hpScale, L"HPSCALE");
    object.get(hpAngle, L"HPANG");
    CQorColor contour, fillColor;
    layer_color(contour, con.c_str());
    layer_color(fillColor, fill.c_str());
    CQorMatrix3d mtx;
    if (options.isDir()) options.get(mtx, L"MTX");
    const DWORD flags = hpName.isEmpty() ? GdxItemOutline : GdxItemOutline | GdxItemHatch;
    for (const CQorArrayTempl<CQorVertexArray>& region : regions)
        gdx->imageReg({}, flags, region, contour, mtx, {1.0}, 1.0, 0, fillColor,
                      CHatchProp(hpName.c_str(), hpAngle, hpScale, false), CQorPoint3d::kOrigin);
    return RTNORM;
}

} // namespace

int extrSectionHostFcn(const resbuf* args, resbuf*& result) noexcept {
    result = nullptr;
    return detail::guardedAt("qor_gdx_image_extr", RTERROR, [&] { return drawSection(args); });
}

} // namespace QOR
