#include "qor/objlib/hole.h"

#include <cmath>

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_iterator.h"
#include "qor/objlib/drill.h"
#include "qor/objlib/outline.h"
#include "qor/objlib/schema_p.h"
#include "qor/objlib/solid.h"

namespace QOR {

namespace {

constexpr double kMax = CQor_Solid::kMaxCoordinate;

bool inRange(const CQorPoint3d& p) {
    return std::abs(p.x) <= kMax && std::abs(p.y) <= kMax && std::abs(p.z) <= kMax;
}

/// Every polyline of a list has vertices, and every coordinate and bulge is finite and in range.
bool polylinesInRange(const CQorArrayTempl<CQorVertexArray>& list) {
    if (list.isEmpty()) return false;
    for (const CQorVertexArray& vl : list) {
        if (vl.isEmpty()) return false;
        for (const CQorVertex& v : vl)
            if (!inRange(v.start) || !inRange(v.end) || !std::isfinite(v.bulge)) return false;
    }
    return true;
}

bool matrixFinite(const CQorMatrix3d& m) {
    for (const auto& row : m.entry)
        for (double e : row)
            if (!(std::abs(e) <= kMax)) return false;
    return true;
}

/// Checks one element; on failure key is the path below the element and why the reason.
bool elementCheck(const CQorDataItem& element, CQorString& key, CQorString& why) {
    if (!element.isDir()) {
        why = L"not a directory";
        return false;
    }
    if (const CQorDataItem* mtx = element.getItem(L"MTX")) {
        CQorMatrix3d m;
        if (!mtx->get(m) || !matrixFinite(m)) {
            key = L"MTX";
            why = !mtx->get(m) ? L"not a matrix" : L"out of range";
            return false;
        }
    }
    const CQorDataItem* gen = element.getItem(L"GEN");
    if (gen == nullptr) return true; // an element that draws nothing
    CQorArrayTempl<CQorVertexArray> list;
    if (!gen->isDir()) {
        key = L"GEN";
        if (!gen->get(list))
            why = L"neither a directory nor a list of polylines";
        else if (!polylinesInRange(list))
            why = L"an empty polyline or a coordinate out of range";
        else
            return true;
        return false;
    }
    detail::SchemaReader in(gen);
    const CQorString type = in.text(L"TYPE", true);
    CQorString below;
    if (!in.ok()) {
        below = in.badKey();
        why = in.reason();
    } else if (type == L"OUTLINE") {
        CQorVertexArray vl;
        int id = 0;
        if (!gen->get(id, L"ID")) {
            below = L"ID";
            why = gen->getItem(L"ID") == nullptr ? L"missing" : L"not an int";
        } else if (!g_outline(vl, gen, -1)) {
            below = L"ID";
            why = L"no such outline, or its parameters make none";
        }
    } else if (type == L"DRILL") {
        Drill_st drill;
        drillRead(gen, drill, &below, &why);
    } else {
        below = L"TYPE";
        why = L"neither OUTLINE nor DRILL";
    }
    if (why.isEmpty()) return true;
    key = CQorString((std::wstring(L"GEN\\") + std::wstring(below.view())).c_str());
    return false;
}

} // namespace

bool isHoleElementKey(const CQorDataKey& key) noexcept {
    return key.type() == CQorDataKey::kText || key.type() == CQorDataKey::kHandle;
}

bool holeCheck(const CQorDataItem* root, CQorString* badKey, CQorString* reason) noexcept {
    return detail::guardedAt("QOR::holeCheck", false, [&] {
        detail::SchemaReader in(root);
        CQorDataKey settingsKey; // the pattern's settings: a directory under the empty text key
        settingsKey.set(CQorDataKey::kText, L"");
        const CQorDataItem* settings = in.ok() ? root->getItem(settingsKey) : nullptr;
        if (settings != nullptr && !settings->isDir()) in.fail(L"", L"not a directory");
        if (settings != nullptr && in.ok()) {
            in.text(L"\\DRAW", false);
            in.text(L"\\PART_CON", false);
            in.text(L"\\PART_FILL", false);
            in.text(L"\\HPNAME", false);
            in.number(L"\\HPSCALE", false, 1, 0, kMax, true);
            in.number(L"\\HPANG", false, 0, -kMax, kMax);
        }
        if (in.ok() && root->getItem(L"BT") == nullptr) in.fail(L"BT", L"missing");
        in.optionalDir(L"BT");
        CQorString key = in.badKey(), why = in.reason();
        if (in.ok()) {
            for (CDataIterator it(root->getItem(L"BT")); !it.done() && why.isEmpty(); it.next()) {
                if (!isHoleElementKey(*it.key())) continue;
                CQorString below;
                if (elementCheck(*it.item(), below, why)) continue;
                std::wstring path = L"BT\\";
                path += it.key()->text();
                if (!below.isEmpty()) path += L"\\" + std::wstring(below.view());
                key = CQorString(path.c_str());
            }
        }
        if (badKey != nullptr) *badKey = key;
        if (reason != nullptr) *reason = why;
        return why.isEmpty();
    });
}

} // namespace QOR
