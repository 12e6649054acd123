#include "qor/objlib/fsheet.h"

#include <cmath>
#include <numbers>

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/kernel/geom/arc_math.h"
#include "qor/kernel/geom/polyline_clip.h"
#include "qor/objlib/fsheet_profile_p.h"

namespace QOR {

namespace {

/// Straight pieces per period of a function profile: chords of a sine of depth D deviate by about
/// D (pi / 24)^2 / 4 < D / 200 from it, finer than a preview shows.
constexpr int kFunctionSteps = 24;

/// What the functions read from a sheet's item and its definition.
struct Sheet {
    const CQorDataItem* definition = nullptr;
    double seg = 0.0;
    double length = 0.0;
    double thickness = 0.0;
    double depth = 0.0;
    CQorMatrix3d mtx;
    bool placed = false; // mtx given
};

bool readSheet(const CQorDataItem* item, Sheet& out) {
    if (item == nullptr || !item->isDir()) return false;
    CQorArrayTempl<CQorString> stack;
    CQorVertexArray vl;
    if (!item->get(stack, L"STACK") || !item->get(vl, L"VL") || vl.isEmpty()) return false;
    out.definition = fsheet_get(stack);
    if (out.definition == nullptr || !out.definition->isDir()) return false;
    out.definition->get(out.seg, L"SEG");
    out.length = vl.lastVertex().end.x;
    item->get(out.thickness, L"S");
    item->get(out.depth, L"D");
    out.depth = std::abs(out.depth);
    out.placed = item->get(out.mtx, L"MTX");
    return std::isfinite(out.thickness) && std::isfinite(out.depth) && out.seg > 0 &&
           std::isfinite(out.seg) && out.length > 0 && std::isfinite(out.length);
}

void place(const Sheet& sheet, CQorVertexArray& vl) {
    if (sheet.placed) vl.transformBy(sheet.mtx);
}

/// The section and coat lines of a profile through points (z: fillet radii; see fsheet_profile_p.h).
bool makeSection(const Sheet& sheet, const CQorPoint3dArray& points, CQorArrayTempl<CQorVertexArray>& list,
                 CQorVertexArray& coat1, CQorVertexArray& coat2) {
    if (points.len() < 2) return false;
    coat1 = detail::filletProfile(points, points);
    coat2 = detail::filletProfile(detail::offsetProfile(points, sheet.thickness), points);
    CQorVertexArray section = detail::sectionOutline(coat1, coat2);
    place(sheet, coat1);
    place(sheet, coat2);
    place(sheet, section);
    list.append(section);
    return true;
}

/// Runs body with the outputs emptied first and emptied again when it fails.
template <class F>
bool filling(const char* where, CQorArrayTempl<CQorVertexArray>& list, CQorVertexArray* coat1,
             CQorVertexArray* coat2, F&& body) noexcept {
    const auto clear = [&] {
        list.clear();
        if (coat1 != nullptr) coat1->clear();
        if (coat2 != nullptr) coat2->clear();
    };
    const bool done = detail::guardedAt(where, false, [&] {
        clear();
        return body();
    });
    if (!done) clear();
    return done;
}

} // namespace

bool fsheet_vll_fnc(const CQorDataItem* item, CQorArrayTempl<CQorVertexArray>& list, CQorVertexArray& coat1,
                    CQorVertexArray& coat2) noexcept {
    return filling("QOR::fsheet_vll_fnc", list, &coat1, &coat2, [&] {
        Sheet sheet;
        if (!readSheet(item, sheet)) return false;
        CQorString calc;
        sheet.definition->get(calc, CQorDataKey(L"", L"CALC"));
        const bool sine = calc == L"SINUS";
        CQorPoint3dArray period;
        const int steps = sine ? kFunctionSteps : 1;
        for (int i = 0; i <= steps; ++i) {
            const double x = sheet.seg * i / steps;
            const double y = sine ? sheet.depth / 2 * (1 + std::cos(2 * std::numbers::pi * i / steps)) : 0.0;
            period.append(CQorPoint3d(x, y, 0));
        }
        CQorPoint3dArray points;
        return detail::tileProfile(period, sheet.seg, sheet.length, kMaxProfileVertices, points) &&
               makeSection(sheet, points, list, coat1, coat2);
    });
}

bool fsheet_vll_fillet(const CQorDataItem* item, CQorArrayTempl<CQorVertexArray>& list,
                       CQorVertexArray& coat1, CQorVertexArray& coat2) noexcept {
    return filling("QOR::fsheet_vll_fillet", list, &coat1, &coat2, [&] {
        Sheet sheet;
        if (!readSheet(item, sheet)) return false;
        CQorPoint3dArray period;
        if (!sheet.definition->get(period, L"FILLET_P")) {
            if (!sheet.definition->get(period, L"POINTS")) return false;
            for (CQorPoint3d& p : period)
                p.z = 0.0;
        }
        CQorPoint3dArray points;
        return detail::tileProfile(period, sheet.seg, sheet.length, kMaxProfileVertices, points) &&
               makeSection(sheet, points, list, coat1, coat2);
    });
}

bool fsheet_vll_region(const CQorDataItem* item, CQorArrayTempl<CQorVertexArray>& list) noexcept {
    return filling("QOR::fsheet_vll_region", list, nullptr, nullptr, [&] {
        Sheet sheet;
        CQorArrayTempl<CQorVertexArray> loops;
        if (!readSheet(item, sheet) || !sheet.definition->get(loops, L"REGION") || loops.isEmpty())
            return false;
        int vertices = 0;
        for (const CQorVertexArray& loop : loops)
            vertices += loop.len();
        if (sheet.length / sheet.seg * vertices > kMaxProfileVertices) return false;
        for (int i = 0; double(i) * sheet.seg < sheet.length; ++i) {
            for (const CQorVertexArray& loop : loops) {
                CQorPoint3d min, max;
                if (!loop.extents(min, max)) continue;
                const double shift = i * sheet.seg;
                if (min.x + shift < 0 || max.x + shift > sheet.length) continue;
                CQorVertexArray copy(loop);
                copy.move(CQorVector3d(shift, 0, 0));
                place(sheet, copy);
                list.append(copy);
            }
        }
        return !list.isEmpty();
    });
}

bool fsheet_vll_outline(const CQorDataItem*, const CQorVertexArray& top, const CQorVertexArray& bottom,
                        const CQorArrayTempl<CQorArrayTempl<CQorVertexArray>>& regions,
                        CQorArrayTempl<CQorVertexArray>& list) noexcept {
    return filling("QOR::fsheet_vll_outline", list, nullptr, nullptr, [&] {
        const auto lines = [](const CQorVertexArray& section) {
            return section.len() >= 4 && section.len() % 2 == 0 && section.isClosed();
        };
        if (!lines(top) || !lines(bottom)) return false;
        const int nTop = (top.len() - 2) / 2, nBottom = (bottom.len() - 2) / 2;
        CQorVertexArray core;
        for (int i = 0; i < nBottom; ++i)
            core.append(bottom[i]); // the bottom sheet's upper line, from x = 0 to L
        core.append(core.lastVertex().end, top[nTop + 1].start);
        for (int i = nTop + 1; i <= 2 * nTop; ++i)
            core.append(top[i]); // the top sheet's lower line, from x = L back to 0
        core.append(core.lastVertex().end, core.firstVertex().start);
        list.append(core);
        const CQorArrayTempl<CQorVertexArray> outer{core};
        for (const CQorArrayTempl<CQorVertexArray>& region : regions)
            if (!region.isEmpty() && !region[0].isEmpty() && g_vll_pt_inside(outer, region[0][0].start) > 0)
                list.append(region[0]);
        return true;
    });
}

int fsheet_sid(CDtaFilePointer* sheet) noexcept {
    const CQorDataItem* root = sheet != nullptr ? sheet->get() : nullptr;
    if (root == nullptr) return -1;
    int sid = 1;
    root->get(sid, L"SID");
    return sid;
}

CQorVertexArray fsheet_axis_vl(const CQorArrayTempl<CQorVertexArray>& list, double s) noexcept {
    return detail::guardedAt("QOR::fsheet_axis_vl", CQorVertexArray(), [&] {
        CQorVertexArray axis;
        CQorPoint3d min, max;
        bool any = false;
        for (const CQorVertexArray& vl : list) {
            CQorPoint3d a, b;
            if (!vl.extents(a, b)) continue;
            min = any ? p_min(min, a) : a;
            max = any ? p_max(max, b) : b;
            any = true;
        }
        if (!any || !std::isfinite(s) || !std::isfinite(min.x) || !std::isfinite(min.y) ||
            !std::isfinite(max.y))
            return axis;
        axis.append(CQorPoint3d(min.x, min.y - s, 0), CQorPoint3d(min.x, max.y + s, 0));
        return axis;
    });
}

} // namespace QOR
