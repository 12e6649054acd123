#include "qor/objlib/bar.h"

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/dta_file.h"
#include "qor/kernel/geom/polyline_regions.h"

namespace QOR {

BarRegions barRegions(const CQorDataItem* item) noexcept {
    return detail::guardedAt("QOR::barRegions", BarRegions(), [&] {
        BarRegions regions;
        if (item == nullptr) return regions;
        CQorArrayTempl<CQorVertexArray> loops;
        const CQorDataItem* regl = item->getItem(L"REGL");
        if (regl != nullptr && regl->isDir()) {
            // One list of loops per child, in order.
            const CQorDataDir* dir = regl->getDir();
            for (int i = 0; i < dir->len(); ++i)
                if (dir->at(i)->get(loops) && !loops.isEmpty()) regions.append(loops);
        }
        if (regions.isEmpty() && item->get(loops, L"VL"))
            regions = g_vll_regions(vll_regions_prepare(loops), kRegionsOrient);
        return regions;
    });
}

BarRegions bar_regl(CDtaFilePointer* profile, const CQorMatrix3d& mtx) noexcept {
    return detail::guardedAt("QOR::bar_regl", BarRegions(), [&] {
        BarRegions regions = barRegions(profile != nullptr ? profile->get() : nullptr);
        for (CQorArrayTempl<CQorVertexArray>& region : regions)
            for (CQorVertexArray& loop : region)
                loop.transformBy(mtx);
        return regions;
    });
}

bool bar_bt_subs(CQorArrayTempl<CQorDataKey>& keys, const CQorDataItem* objectRoot, const CQorString& grp,
                 const CQorString& bt) noexcept {
    return detail::guardedAt("QOR::bar_bt_subs", false, [&] {
        keys.clear();
        CQorArrayTempl<CQorString> names;
        if (objectRoot == nullptr || !objectRoot->get(names, CQorDataKey(L"SUBS", grp.c_str(), bt.c_str())))
            return false;
        CQorDataKey key;
        for (const CQorString& name : names)
            if (key.set(CQorDataKey::kText, name.c_str()) && !name.isEmpty()) keys.append(key);
        return true;
    });
}

} // namespace QOR
