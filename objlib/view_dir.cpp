#include "qor/objlib/view_dir.h"

#include <cmath>

#include "qor/kernel/base/string.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/geom/view_matrix.h"
#include "qor/kernel/locale/units.h"

namespace QOR {

namespace {

struct NamedView {
    const wchar_t* name;
    CQorVector3d dir; // towards the viewer, not normalized
};

// The table of view_dir.h; the first eight rows are the standard views in NormView order.
constexpr NamedView kViews[] = {
    {L"T", {0, 0, 1}},  {L"F", {0, -1, 0}},  {L"S", {-1, 0, 0}},   {L"I", {1, -1, 1}}, {L"R", {1, 0, 0}},
    {L"L", {-1, 0, 0}}, {L"B", {0, 1, 0}},   {L"U", {0, 0, -1}},   {L"E", {1, 0, 0}},  {L"W", {-1, 0, 0}},
    {L"N", {0, 1, 0}},  {L"SE", {1, -1, 1}}, {L"SW", {-1, -1, 1}}, {L"NE", {1, 1, 1}}, {L"NW", {-1, 1, 1}},
};
static_assert(sizeof(kViews) / sizeof(kViews[0]) >= kNormViewCount);

const NamedView* findView(const wchar_t* name) noexcept {
    if (name == nullptr) return nullptr;
    for (const NamedView& view : kViews) {
        const wchar_t* a = view.name;
        const wchar_t* b = name;
        while (*a != 0 && *a == CQorString::toUpper(*b)) {
            ++a;
            ++b;
        }
        if (*a == 0 && *b == 0) return &view;
    }
    return nullptr;
}

bool isFinite(const CQorMatrix3d& m) noexcept {
    for (const auto& row : m.entry)
        for (double v : row)
            if (!std::isfinite(v)) return false;
    return true;
}

bool isFinite(const CQorVector3d& v) noexcept {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

/// The local system from "ORIGIN", "NORMAL" and "XDIR"; false for a bad axis or origin.
bool systemFromAxes(const CQorDataItem& item, CQorMatrix3d& mtx) noexcept {
    CQorPoint3d origin, normal(0, 0, 1), xdir;
    item.get(origin, L"ORIGIN");
    item.get(normal, L"NORMAL");
    const bool hasX = item.get(xdir, L"XDIR");
    const CQorVector3d z = normal.asVector();
    const double len = z.abs();
    if (!isFinite(origin.asVector()) || !(len > 0.0) || !std::isfinite(len)) return false;
    const CQorVector3d zn = z / len;
    mtx.setToPlaneToWorld(zn);
    if (hasX) {
        if (!isFinite(xdir.asVector())) return false;
        // X made perpendicular to Z; a direction (nearly) along Z leaves the arbitrary axis in force.
        const CQorVector3d x = xdir.asVector() - zn * zn.dot(xdir.asVector());
        const double xlen = x.abs();
        if (std::isfinite(xlen) && xlen > 1e-9 * xdir.asVector().abs()) {
            const CQorVector3d xn = x / xlen;
            mtx.setCoordSystem(origin, xn, zn * xn, zn);
            return true;
        }
    }
    mtx.entry[0][3] = origin.x;
    mtx.entry[1][3] = origin.y;
    mtx.entry[2][3] = origin.z;
    return true;
}

} // namespace

const wchar_t* normViewName(NormView view) noexcept {
    return view >= 0 && view < kNormViewCount ? kViews[view].name : nullptr;
}

bool dataItemGet(const CQorDataItem* item, const CQorDataKey& key, NormView& view) noexcept {
    int value = -1;
    if (item == nullptr || !item->get(value, key) || value < 0 || value >= kNormViewCount) return false;
    view = static_cast<NormView>(value);
    return true;
}

bool viewDirGet(const wchar_t* name, CQorVector3d& dir) noexcept {
    const NamedView* view = findView(name);
    dir = view ? view->dir.normal() : CQorVector3d(0, 0, 1);
    return view != nullptr;
}

CQorMatrix3d g_mtx_view_dir(const wchar_t* name, const CQorPoint3d& origin) noexcept {
    CQorVector3d dir;
    viewDirGet(name, dir);
    return g_mtx_view(dir, origin, false);
}

bool isViewDirOrtho(const CQorMatrix3d& mtx, const CQorMatrix3d& view) noexcept {
    const CQorMatrix3d m = view * mtx;
    if (!isFinite(m)) return false;
    bool singular = false;
    bool along = false;
    for (int i = 0; i < 3; ++i) {
        const CQorVector3d a = m.axis(i);
        const double len = a.abs();
        if (!(len > 0.0))
            singular = true;
        else if (std::hypot(a.x, a.y) <= kOrthoTolerance * len)
            along = true;
    }
    return along && !singular && CQorMatrix3d(m).invert();
}

bool g_mtx_local(const CQorDataItem* item, CQorMatrix3d& mtx, int flag, int unit) noexcept {
    mtx = CQorMatrix3d();
    if (item == nullptr || !item->isDir()) return false;
    CQorMatrix3d local;
    if (item->get(local, L"MTX")) {
        if (!isFinite(local) || !CQorMatrix3d(local).invert()) return false;
    } else if (!systemFromAxes(*item, local)) {
        return false;
    }
    int from = -1;
    if (unit >= 0 && item->get(from, L"INSUNIT") && from >= 0) {
        for (int r = 0; r < 3; ++r)
            local.entry[r][3] = acadUnitCv(local.entry[r][3], from, unit);
    }
    if (flag == 1 && !local.invert()) return false;
    mtx = local;
    return true;
}

CQorMatrix3d g_mtx_local(const CQorDataItem* item) noexcept {
    CQorMatrix3d mtx;
    g_mtx_local(item, mtx);
    return mtx;
}

} // namespace QOR
