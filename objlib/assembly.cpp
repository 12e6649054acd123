#include "qor/objlib/assembly.h"

#include <algorithm>
#include <cmath>

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_iterator.h"
#include "qor/kernel/host/host_app.h"
#include "qor/objlib/bgr_element_p.h"
#include "qor/objlib/schema_p.h"
#include "qor/objlib/solid.h"
#include "qor/objlib/view_dir.h"

bool BgrBt::operator<(const BgrBt& other) const noexcept {
    if (order != other.order) return order < other.order;
    return name < other.name;
}

bool BgrBt::operator==(const BgrBt& other) const noexcept {
    return order == other.order && name == other.name; // as the map orders them
}

namespace QOR {

namespace {

const CQorDataItem* elementsOf(const CQorDataItem* object) {
    if (object == nullptr || !object->isDir()) return nullptr;
    const CQorDataItem* elements = object->getItem(L"BT");
    return elements != nullptr && elements->isDir() ? elements : nullptr;
}

bool validUnit(int unit) {
    return unit >= 0 && unit < Qor::kUnitCount;
}

/// The element's drillings in world coordinates, if it is of type.
bool placedDrills(DrillPlacements& placements, const CQorDataItem* data, const CQorMatrix3d& mtx,
                  const wchar_t* type, const wchar_t* scons) {
    placements.clear();
    CQorString t, s;
    if (data == nullptr || !data->get(t, L"TYPE") || t != type) return false;
    if (scons != nullptr && (!data->get(s, L"SCONS") || s != scons)) return false;
    if (!detail::elementDrills(data, placements)) return false;
    for (DrillPlacement_st& place : placements)
        place.mtx = mtx * place.mtx;
    return true;
}

/// The drillings of a coordinate-driven set placed by place, cut from what stands before them.
bool cutSetDrillings(CQor_Solid& solid, const CQorDataItem* set, const CQorMatrix3d& place) {
    DrillPlacements drills;
    detail::elementDrills(set, drills);
    bool any = false;
    for (const DrillPlacement_st& drill : drills) {
        CQor_Solid body;
        if (detail::elementModel(body, drill.drill.get(), false) && body.solid() &&
            solid.addSolid(body, place * drill.mtx, CQor_Solid::kCut))
            any = true;
    }
    return any;
}

} // namespace

bool bgrCheck(const CQorDataItem* root, CQorString* badKey, CQorString* reason) noexcept {
    return detail::guardedAt("QOR::bgrCheck", false, [&] {
        detail::SchemaReader in(root);
        if (in.text(L"KIND", true) != L"BGR" && in.ok()) in.fail(L"KIND", L"not an assembly");
        const CQorDataItem* elements = in.ok() ? elementsOf(root) : nullptr;
        if (in.ok() && elements == nullptr) in.fail(L"BT", L"not a directory");
        if (in.ok() && root->getItem(L"INSUNIT") != nullptr) {
            int unit = -1;
            if (!root->get(unit, L"INSUNIT") || !validUnit(unit)) in.fail(L"INSUNIT", L"not a unit");
        }
        for (CDataIterator it(elements); in.ok() && !it.done(); it.next()) {
            CQorString key, why;
            if (!detail::elementCheck(it.item(), &key, &why)) {
                CQorString path = CQorString(L"BT\\") + it.key()->text();
                if (!key.isEmpty()) path += CQorString(L"\\") + key;
                in.fail(path.c_str(), why.c_str());
            }
        }
        if (badKey != nullptr) *badKey = in.badKey();
        if (reason != nullptr) *reason = in.reason();
        return in.ok();
    });
}

bool checkBt(const CQorDataItem* element, const CQorDataItem* parm) noexcept {
    return detail::guardedAt("QOR::checkBt", false, [&] {
        if (parm != nullptr && !parm->isDir()) return false;
        return element != nullptr && element->isDir() && detail::elementCheck(element, nullptr, nullptr);
    });
}

CQorDataItem* bgr_data_merge(const CQorDataItem* object, const CQorString& name,
                             const CQorDataItem*) noexcept {
    return detail::guardedAt("QOR::bgr_data_merge", static_cast<CQorDataItem*>(nullptr), [&] {
        const CQorDataItem* elements = elementsOf(object);
        const CQorDataItem* element =
            elements != nullptr && !name.isEmpty() ? elements->getItem(name.c_str()) : nullptr;
        if (element == nullptr) return static_cast<CQorDataItem*>(nullptr);
        CQorDataItem* merged = element->clone();
        if (merged == nullptr) return merged;
        for (const wchar_t* key : {L"PART", L"PART_HID"}) {
            CQorString layer;
            if (merged->getItem(key) == nullptr && object->get(layer, key)) merged->set(layer, key);
        }
        // A drilling element's drilling says what it is, so that QOR::objGen completes it.
        CQorString type;
        const CQorDataItem* bt = merged->getItem(L"BT");
        if (merged->get(type, L"TYPE") && type == L"DRILL" && bt != nullptr && bt->isDir() &&
            bt->getItem(L"TYPE") == nullptr)
            merged->set(L"DRILL", CQorDataKey(L"BT", L"TYPE"));
        return merged;
    });
}

Qor::lUnit lobj_unit(const CQorDataItem* object) noexcept {
    int unit = -1;
    if (object != nullptr && object->get(unit, L"INSUNIT") && validUnit(unit)) return Qor::lUnit(unit);
    return qorAppPtr()->drawingUnit();
}

Qor::lUnit bgr_bt_unit(const CQorDataItem* object, const CQorString& name) noexcept {
    const CQorDataItem* elements = elementsOf(object);
    const CQorDataItem* element =
        elements != nullptr && !name.isEmpty() ? elements->getItem(name.c_str()) : nullptr;
    int unit = -1;
    if (element != nullptr && element->get(unit, L"INSUNIT") && validUnit(unit)) return Qor::lUnit(unit);
    return lobj_unit(object);
}

CQorMatrix3d getBtTransformation(const CQorDataItem* merged, const CQorDataItem*, const CQorMatrix3d& mtx,
                                 double spread, double& reach) noexcept {
    CQorMatrix3d local = g_mtx_local(merged);
    const CQorVector3d offset = local.translation();
    if (std::isfinite(spread) && spread != 1.0) {
        const CQorVector3d moved = offset * spread;
        local[0][3] = moved.x;
        local[1][3] = moved.y;
        local[2][3] = moved.z;
    }
    const double distance = local.translation().abs();
    if (std::isfinite(distance)) reach = std::max(reach, distance);
    return mtx * local;
}

CQorPoint3d getBtBasePoint(const CQorMatrix3d& mtx, const CQorMatrix3d& view,
                           const CQorPoint3d& origin) noexcept {
    CQorPoint3d p = (view * mtx) * origin;
    p.z = 0;
    return p;
}

bool isBtOrthoView(const CQorDataItem*, const CQorMatrix3d& mtx, const CQorMatrix3d& view,
                   const CQorDataItem*, CQorMatrix3d& out) noexcept {
    if (!isViewDirOrtho(mtx, view)) return false;
    out = view * mtx;
    return true;
}

bool getProjectedGeometry(const CQorDataItem* data, const CQorMatrix3d& mtx, const CQorMatrix3d& view,
                          const CQorDataItem* parm, CQorArrayTempl<CQorVertexArrayEx>& visible,
                          CQorArrayTempl<CQorVertexArrayEx>& hidden,
                          CQorArrayTempl<CSharedPointer<CQorDataItem>>& items) noexcept {
    visible.clear();
    hidden.clear();
    items.clear();
    return detail::guardedAt("QOR::getProjectedGeometry", false, [&] {
        int noDrill = 0;
        if (parm != nullptr) parm->get(noDrill, L"NO_DRILL");
        CQor_Solid solid;
        if (!detail::elementModel(solid, data, noDrill != 1) || !solid.solid()) return false;
        // The modeller wants the view's system in the element's coordinates.
        CQorMatrix3d viewToElement = view * mtx;
        if (!viewToElement.invert()) return false;
        return solid.project(viewToElement, false, visible, hidden, 1);
    });
}

bool getEdgeDrillData(DrillPlacements& placements, const CQorDataItem* data, const CQorDataItem*,
                      const CQorMatrix3d& mtx, const CQorMatrix3d&) noexcept {
    return detail::guardedAt("QOR::getEdgeDrillData", false,
                             [&] { return placedDrills(placements, data, mtx, L"SHEET", L"EDGE"); });
}

bool getEdgeNDrillData(DrillPlacements& placements, const CQorDataItem* data, const CQorDataItem*,
                       const CQorMatrix3d& mtx, const CQorMatrix3d&) noexcept {
    return detail::guardedAt("QOR::getEdgeNDrillData", false,
                             [&] { return placedDrills(placements, data, mtx, L"SHEET", L"EDGE_N"); });
}

bool getExtrDrillData(DrillPlacements& placements, const CQorDataItem* data, const CQorDataItem*,
                      const CQorDataItem*, const CQorMatrix3d& mtx, const CQorMatrix3d&) noexcept {
    return detail::guardedAt("QOR::getExtrDrillData", false,
                             [&] { return placedDrills(placements, data, mtx, L"EXTR", nullptr); });
}

bool getAngleDrillData(DrillPlacements& placements, const CQorDataItem* data, const CQorDataItem*,
                       const CQorDataItem*, const CQorMatrix3d& mtx, const CQorMatrix3d&) noexcept {
    return detail::guardedAt("QOR::getAngleDrillData", false,
                             [&] { return placedDrills(placements, data, mtx, L"ANGLE", nullptr); });
}

bool bgr_slx_bgr(CQor_Solid& solid, bool& built, const CQorDataItem* object, const CQorDataItem* status,
                 const CQorMatrix3d& mtx, const CQorDataItem*, bool skipParts, bool withDrills) noexcept {
    built = false;
    return detail::guardedAt("QOR::bgr_slx_bgr", false, [&] {
        solid.clear();
        const CQorDataItem* elements = elementsOf(object);
        if (elements == nullptr) return false;
        // Bodies first, then what is cut from them, so that a drilling cuts whatever it passes through.
        const auto addElements = [&](bool cuts) {
            for (CDataIterator it(elements); !it.done(); it.next()) {
                CQorString type;
                it.item()->get(type, L"TYPE");
                const bool set = type == L"SCORD", drill = type == L"DRILL";
                if (cuts ? !(set || drill) : (drill || (skipParts && (set || type == L"OLV_NM")))) continue;
                const CSharedPointer<CQorDataItem> merged(bgr_data_merge(object, it.key()->text(), status));
                double reach = 0;
                const CQorMatrix3d place = getBtTransformation(merged.get(), nullptr, mtx, 1.0, reach);
                if (cuts && set) {
                    built = cutSetDrillings(solid, merged.get(), place) || built;
                    continue;
                }
                CQor_Solid body;
                if (detail::elementModel(body, merged.get(), withDrills) && body.solid() &&
                    solid.addSolid(body, place, cuts ? CQor_Solid::kCut : CQor_Solid::kJoin))
                    built = true;
            }
        };
        addElements(false);
        if (withDrills) addElements(true);
        return true;
    });
}

} // namespace QOR

bool qor_bgr_strong(const CQorDataItem* object, const CQorDataItem*, const CQorMatrix3d&, int,
                    const CQorDataItem* parm, BgrBtMap& map) noexcept {
    return QOR::detail::guardedAt("qor_bgr_strong", false, [&] {
        const CQorDataItem* elements = QOR::elementsOf(object);
        if (elements == nullptr) return false;
        int order = 0;
        for (QOR::CDataIterator it(elements); !it.done(); it.next()) {
            CQorDataItem value(*it.item());
            if (parm != nullptr && parm->isDir())
                value.setItem(*parm, L"PARM");
            else
                value.makeDir(L"PARM");
            map.set(BgrBt{object, it.key()->text(), order++}, std::move(value));
        }
        return !map.isEmpty();
    });
}

bool qor_bgr_bt_angle_check(const CQorDataItem* data) noexcept {
    return QOR::detail::guardedAt("qor_bgr_bt_angle_check", false, [&] {
        CQorString type;
        if (data == nullptr || !data->get(type, L"TYPE") || type != L"ANGLE") return false;
        for (const wchar_t* key : {L"INSUNIT", L"DEFUNIT"}) {
            int unit = -1;
            if (data->getItem(key) != nullptr && (!data->get(unit, key) || !QOR::validUnit(unit)))
                return false;
        }
        return QOR::detail::elementCheck(data, nullptr, nullptr);
    });
}
