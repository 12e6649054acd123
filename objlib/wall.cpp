#include "qor/objlib/wall.h"

#include <cmath>
#include <string>

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_iterator.h"
#include "qor/objlib/schema_p.h"
#include "qor/objlib/solid.h"

namespace QOR {

namespace {

constexpr double kMax = CQor_Solid::kMaxCoordinate;

bool inRange(const CQorPoint3d& p) {
    return std::abs(p.x) <= kMax && std::abs(p.y) <= kMax && std::abs(p.z) <= kMax;
}

/// Checks one wall; on failure key is the key below the wall ("" for the wall itself) and why the reason.
bool checkWall(const CQorDataItem& wall, CQorString& key, CQorString& why) {
    detail::SchemaReader in(&wall);
    in.number(L"HEIGHT", false, 0, 0, kMax, true);
    in.text(L"PART", false);
    if (in.ok()) {
        const CQorDataItem* outline = wall.getItem(L"VL");
        CQorVertexArray vl;
        if (outline == nullptr)
            in.fail(L"VL", L"missing");
        else if (!outline->get(vl))
            in.fail(L"VL", L"not a polyline");
        else if (!vl.isClosed())
            in.fail(L"VL", L"not closed");
        for (const CQorVertex& v : vl)
            if (in.ok() && (!inRange(v.start) || !inRange(v.end) || !std::isfinite(v.bulge)))
                in.fail(L"VL", L"out of range");
    }
    key = in.badKey();
    why = in.reason();
    return in.ok();
}

} // namespace

bool wallCheck(const CQorDataItem* root, CQorString* badKey, CQorString* reason) noexcept {
    return detail::guardedAt("QOR::wallCheck", false, [&] {
        detail::SchemaReader in(root);
        if (in.ok() && root->getItem(L"SN") == nullptr) in.fail(L"SN", L"missing");
        in.optionalDir(L"SN");
        if (in.optionalDir(L"CORNER")) in.text(L"CORNER\\MODE", false);
        CQorString key = in.badKey(), why = in.reason();
        for (CDataIterator it(in.ok() ? root->getItem(L"SN") : nullptr); !it.done() && why.isEmpty();
             it.next()) {
            std::wstring path = L"SN\\";
            path += it.key()->text();
            CQorString below;
            if (it.key()->type() != CQorDataKey::kShort)
                why = L"walls are numbered (short keys such as \"#1\")";
            else if (checkWall(*it.item(), below, why))
                continue;
            if (!below.isEmpty()) path += L"\\" + std::wstring(below.view());
            key = CQorString(path.c_str());
        }
        if (badKey != nullptr) *badKey = key;
        if (reason != nullptr) *reason = why;
        return why.isEmpty();
    });
}

} // namespace QOR
