#include <cmath>
#include <memory>
#include <numbers>

#include "qor/kernel/data/data_iterator.h"
#include "qor/objlib/bgr_element_p.h"
#include "qor/objlib/drill.h"
#include "qor/objlib/outline.h"
#include "qor/objlib/schema_p.h"
#include "qor/objlib/solid.h"
#include "qor/objlib/standard_part.h"
#include "qor/objlib/view_dir.h"

namespace QOR::detail {

namespace {

constexpr double kMax = CQor_Solid::kMaxCoordinate;
/// Compounds hold elements; deeper nesting than this is refused rather than followed.
constexpr int kMaxNesting = 8;

/// An element read and checked: what its solid is made of, in its own coordinates.
struct Shape {
    CQorString type;
    CQorVertexArray profile;             ///< the section or outline of prisms and revolutions
    CQorVector3d sweep;                  ///< prisms: the extrusion
    double angle = 2 * std::numbers::pi; ///< revolutions: the sweep in radians
    CQorVertexArray path;                ///< "PATH": the line the profile runs along
    const CQorDataItem* bt = nullptr;    ///< "BT": a drilling, a standard part or a set's children
    const CQorDataItem* parts = nullptr; ///< "COMPOUND": its "ELEMENTS"
    DrillPlacements drills;              ///< implied drillings
};

bool finite(const CQorPoint3d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z) && std::abs(p.x) <= kMax &&
           std::abs(p.y) <= kMax && std::abs(p.z) <= kMax;
}

/// Passes a nested item's failure on under its parent's key.
void failBelow(SchemaReader& in, const wchar_t* parent, const CQorString& key, const CQorString& why) {
    CQorString path(parent);
    if (!key.isEmpty()) path += CQorString(L"\\") + key;
    in.fail(path.c_str(), why.isEmpty() ? L"broken" : why.c_str());
}

/// "VL" (a closed polyline) or else "OUTLINE" (an outline item, QOR::g_outline).
void readProfile(SchemaReader& in, const CQorDataItem* e, CQorVertexArray& vl) {
    if (!in.ok()) return;
    if (const CQorDataItem* item = e->getItem(L"VL")) {
        if (!item->get(vl) || !vl.isClosed()) return in.fail(L"VL", L"not a closed polyline");
        for (const CQorVertex& vx : vl)
            if (!finite(vx.start) || !finite(vx.end) || !std::isfinite(vx.bulge))
                return in.fail(L"VL", L"out of range");
        return;
    }
    const CQorDataItem* outline = e->getItem(L"OUTLINE");
    if (outline == nullptr) return in.fail(L"VL", L"missing");
    if (!g_outline(vl, outline, -1)) in.fail(L"OUTLINE", L"makes no outline");
}

/// Optional points under key.
void readPoints(SchemaReader& in, const CQorDataItem* e, const wchar_t* key, CQorPoint3dArray& pts) {
    const CQorDataItem* item = in.ok() ? e->getItem(key) : nullptr;
    if (item == nullptr) return;
    if (!item->get(pts)) return in.fail(key, L"not a list of points");
    for (const CQorPoint3d& p : pts)
        if (!finite(p)) return in.fail(key, L"out of range");
}

/// "BT" as a drilling; required when the element has drillings to place.
void readDrill(SchemaReader& in, const CQorDataItem* e, bool required, Shape& s) {
    if (!in.ok()) return;
    s.bt = e->getItem(L"BT");
    if (s.bt == nullptr) {
        if (required) in.fail(L"BT", L"missing");
        return;
    }
    Drill_st drill;
    CQorString key, why;
    if (!drillRead(s.bt, drill, &key, &why)) failBelow(in, L"BT", key, why);
}

/// Appends a drilling that enters the element at origin, its axis pointing out of the face along out
/// (the drilling runs down its -Z).
void placeDrill(Shape& s, const CQorPoint3d& origin, const CQorVector3d& out) {
    CSharedPointer<CQorDataItem> item = s.drills.isEmpty() ? nullptr : s.drills[0].drill;
    if (!item) {
        item = std::make_shared<CQorDataItem>();
        item->set(L"DRILL", L"TYPE");
        item->setItem(*s.bt, L"BT");
        item->set(L"DRILL", CQorDataKey(L"BT", L"TYPE")); // so that QOR::objGen completes it
    }
    CQorMatrix3d turn;
    turn.setToPlaneToWorld(out);
    s.drills.append({item, CQorMatrix3d().setToTranslation(origin - CQorPoint3d::kOrigin) * turn});
}

void readSheet(SchemaReader& in, const CQorDataItem* e, Shape& s, double fallbackThickness) {
    readProfile(in, e, s.profile);
    const double thick = in.number(L"THICK", fallbackThickness <= 0, fallbackThickness, 0, kMax, true);
    s.sweep = CQorVector3d(0, 0, thick);
    CQorPoint3dArray holes;
    readPoints(in, e, L"HOLES", holes);
    readDrill(in, e, !holes.isEmpty(), s);
    if (!in.ok()) return;
    for (const CQorPoint3d& p : holes)
        placeDrill(s, CQorPoint3d(p.x, p.y, thick), CQorVector3d(0, 0, 1));
}

void readAngle(SchemaReader& in, const CQorDataItem* e, Shape& s) {
    const double l1 = in.number(L"L1", true, 0, 0, kMax, true);
    const double l2 = in.number(L"L2", true, 0, 0, kMax, true);
    const double width = in.number(L"WIDTH", true, 0, 0, kMax, true);
    const double t = in.number(L"THICK", true, 0, 0, kMax, true);
    const double a = in.number(L"ANG", false, 90, 0, 180, true, true) * std::numbers::pi / 180;
    if (!in.ok()) return;
    // The section in the XZ plane: leg 1 along +X, leg 2 turned up from it by ANG, the inside of the
    // angle above leg 1; d runs along leg 2, n points from its outer face to its inner one.
    const double c = std::cos(a), sn = std::sin(a);
    const CQorVector3d d(c, 0, sn), n(sn, 0, -c);
    const double innerCorner = t * (1 + c) / sn; // where the inner faces meet, along X at height t
    const CQorPoint3d corner(innerCorner, 0, t);
    const double innerStart = (corner - CQorPoint3d::kOrigin).dot(d);
    if (!(l1 > innerCorner)) return in.fail(L"L1", L"too short for the angle and thickness");
    if (!(l2 > innerStart)) return in.fail(L"L2", L"too short for the angle and thickness");
    CQorPoint3dArray section;
    section.append(CQorPoint3d::kOrigin);
    section.append(CQorPoint3d(l1, 0, 0));
    section.append(CQorPoint3d(l1, 0, t));
    section.append(corner);
    section.append(CQorPoint3d::kOrigin + d * l2 + n * t);
    section.append(CQorPoint3d::kOrigin + d * l2);
    s.profile.fromPoints(section, true);
    s.sweep = CQorVector3d(0, width, 0);

    CQorPoint3dArray holes1, holes2;
    readPoints(in, e, L"HOLES1", holes1);
    readPoints(in, e, L"HOLES2", holes2);
    readDrill(in, e, !holes1.isEmpty() || !holes2.isEmpty(), s);
    if (!in.ok()) return;
    for (const CQorPoint3d& p : holes1)
        placeDrill(s, CQorPoint3d(p.x, p.y, t), CQorVector3d(0, 0, 1));
    for (const CQorPoint3d& p : holes2)
        placeDrill(s, CQorPoint3d::kOrigin + d * p.x + n * t + CQorVector3d(0, p.y, 0), n);
}

void readExtrusion(SchemaReader& in, const CQorDataItem* e, Shape& s) {
    readProfile(in, e, s.profile);
    s.sweep = CQorVector3d(0, 0, in.number(L"LEN", true, 0, 0, kMax, true));
    CQorPoint3dArray holes;
    readPoints(in, e, L"HOLES", holes);
    CQorPoint3d dir(0, 1, 0);
    if (in.ok() && e->getItem(L"HOLE_DIR") != nullptr &&
        (!e->get(dir, L"HOLE_DIR") || !finite(dir) || (dir - CQorPoint3d::kOrigin).abs() < 1e-9))
        in.fail(L"HOLE_DIR", L"not a direction");
    readDrill(in, e, !holes.isEmpty(), s);
    if (!in.ok()) return;
    for (const CQorPoint3d& p : holes)
        placeDrill(s, p, dir - CQorPoint3d::kOrigin);
}

void readRevolution(SchemaReader& in, const CQorDataItem* e, Shape& s) {
    readProfile(in, e, s.profile);
    s.angle = in.number(L"ANG", false, 360, 0, 360, true) * std::numbers::pi / 180;
    if (!in.ok()) return;
    for (const CQorVertex& vx : s.profile)
        if (std::abs(vx.start.y) > 1e-9 || vx.start.x < -1e-9)
            return in.fail(L"VL", L"not in the XZ plane at x >= 0");
}

void readPath(SchemaReader& in, const CQorDataItem* e, Shape& s) {
    readProfile(in, e, s.profile);
    if (!in.ok()) return;
    if (!e->get(s.path, L"PATH") || s.path.isEmpty()) return in.fail(L"PATH", L"not a polyline");
    for (const CQorVertex& vx : s.path)
        if (!finite(vx.start) || !finite(vx.end) || vx.start.distanceTo(vx.end) < 1e-9)
            return in.fail(L"PATH", L"a segment is empty or out of range");
}

void readStandardPart(SchemaReader& in, const CQorDataItem* e, Shape& s) {
    s.bt = in.ok() ? e->getItem(L"BT") : nullptr;
    if (!in.ok()) return;
    CQorString key, why;
    if (s.bt == nullptr) return in.fail(L"BT", L"missing");
    if (!nmCheck(s.bt, &key, &why)) failBelow(in, L"BT", key, why);
}

/// The kind of a coordinate-driven set's child: "DIN", "DRILL", or empty for one that is skipped.
CQorString childType(const CQorDataItem& child) {
    CQorString type;
    child.get(type, CQorDataKey(L"BT", L"TYPE"));
    return type;
}

void readSet(SchemaReader& in, const CQorDataItem* e, Shape& s) {
    s.bt = in.ok() ? e->getItem(L"BT") : nullptr;
    if (!in.ok()) return;
    if (s.bt == nullptr || !s.bt->isDir()) return in.fail(L"BT", L"not a directory");
    for (CDataIterator it(s.bt); !it.done(); it.next()) {
        const CQorDataItem& child = *it.item();
        const CQorString type = childType(child), name = CQorString(L"BT\\") + it.key()->text();
        CQorString key, why;
        if (type == L"DIN" && !nmCheck(child.getItem(L"BT"), &key, &why))
            return failBelow(in, (name + L"\\BT").c_str(), key, why);
        Drill_st drill;
        if (type == L"DRILL" && !drillRead(child.getItem(L"BT"), drill, &key, &why))
            return failBelow(in, (name + L"\\BT").c_str(), key, why);
        CQorMatrix3d place;
        if (child.getItem(L"MTX") != nullptr && !child.get(place, L"MTX"))
            return in.fail((name + L"\\MTX").c_str(), L"not a matrix");
        if (type != L"DRILL") continue;
        // The set's drillings cut the parts the set is fastened to, never the set's own parts.
        auto item = std::make_shared<CQorDataItem>();
        item->set(L"DRILL", L"TYPE");
        item->setItem(*child.getItem(L"BT"), L"BT");
        s.drills.append({item, place});
    }
}

bool readShape(const CQorDataItem* e, SchemaReader& in, Shape& s, int depth);

void readCompound(SchemaReader& in, const CQorDataItem* e, Shape& s, int depth) {
    s.parts = in.ok() ? e->getItem(L"ELEMENTS") : nullptr;
    if (!in.ok()) return;
    if (s.parts == nullptr || !s.parts->isDir()) return in.fail(L"ELEMENTS", L"not a directory");
    if (depth >= kMaxNesting) return in.fail(L"ELEMENTS", L"nested too deep");
    for (CDataIterator it(s.parts); !it.done(); it.next()) {
        SchemaReader inner(it.item());
        Shape part;
        if (!readShape(it.item(), inner, part, depth + 1))
            return failBelow(in, (CQorString(L"ELEMENTS\\") + it.key()->text()).c_str(), inner.badKey(),
                             inner.reason());
    }
}

bool readShape(const CQorDataItem* e, SchemaReader& in, Shape& s, int depth) {
    s.type = in.text(L"TYPE", true);
    const CQorString& t = s.type;
    if (!in.ok()) return false;
    if (t == L"SHEET")
        readSheet(in, e, s, 0);
    else if (t == L"HATCH")
        readSheet(in, e, s, 1.0);
    else if (t == L"ANGLE")
        readAngle(in, e, s);
    else if (t == L"EXTR")
        readExtrusion(in, e, s);
    else if (t == L"ROT")
        readRevolution(in, e, s);
    else if (t == L"PATH")
        readPath(in, e, s);
    else if (t == L"DRILL")
        readDrill(in, e, true, s);
    else if (t == L"OLV_NM")
        readStandardPart(in, e, s);
    else if (t == L"SCORD")
        readSet(in, e, s);
    else if (t == L"COMPOUND")
        readCompound(in, e, s, depth);
    else if (t != L"SLICE")
        in.fail(L"TYPE", L"unknown element type");
    return in.ok();
}

bool readShape(const CQorDataItem* e, Shape& s) {
    SchemaReader in(e);
    return readShape(e, in, s, 0);
}

/// A drilling's or standard part's own solid, built.
bool builtObject(CQor_Solid& solid, const CQorDataItem* object, bool standardPart) {
    if (standardPart) return nmModel(solid, object) && solid.solid();
    Drill_st drill;
    return drillRead(object, drill) && drillModel(solid, drill) && solid.solid();
}

/// Each segment of the path a prism of the profile, set square to the segment at its start; arcs of the
/// path count as their chords and the corners are not mitred. The prism is made standing on the profile's
/// own plane and then placed, so that the profile's arcs stay exact.
bool buildPath(CQor_Solid& solid, const Shape& s) {
    for (const CQorVertex& vx : s.path) {
        const CQorVector3d along = vx.end - vx.start;
        CQor_Solid segment;
        if (!segment.addPrism(s.profile, CQorVector3d(0, 0, along.abs())) || !segment.solid()) return false;
        CQorMatrix3d frame;
        frame.setToPlaneToWorld(along);
        if (!solid.addSolid(segment,
                            CQorMatrix3d().setToTranslation(vx.start - CQorPoint3d::kOrigin) * frame))
            return false;
    }
    return true;
}

/// The set's standard parts, joined.
bool buildSet(CQor_Solid& solid, const Shape& s) {
    for (CDataIterator it(s.bt); !it.done(); it.next()) {
        const CQorDataItem& child = *it.item();
        if (childType(child) != L"DIN") continue;
        CQor_Solid part;
        CQorMatrix3d place;
        child.get(place, L"MTX");
        if (!builtObject(part, child.getItem(L"BT"), true) || !solid.addSolid(part, place)) return false;
    }
    return true;
}

bool buildShape(CQor_Solid& solid, const Shape& s, bool withDrills);

bool buildCompound(CQor_Solid& solid, const Shape& s, bool withDrills) {
    for (CDataIterator it(s.parts); !it.done(); it.next()) {
        Shape part;
        CQor_Solid body;
        int subtract = 0;
        it.item()->get(subtract, L"SUBTRACT");
        if (!readShape(it.item(), part) || !buildShape(body, part, withDrills) || !body.solid() ||
            !solid.addSolid(body, g_mtx_local(it.item()),
                            subtract == 1 ? CQor_Solid::kCut : CQor_Solid::kJoin))
            return false;
    }
    return true;
}

bool buildShape(CQor_Solid& solid, const Shape& s, bool withDrills) {
    solid.clear();
    bool ok = false;
    const CQorString& t = s.type;
    if (t == L"SHEET" || t == L"HATCH" || t == L"ANGLE" || t == L"EXTR")
        ok = solid.addPrism(s.profile, s.sweep);
    else if (t == L"ROT")
        ok = solid.addRevolution(s.profile, CQorPoint3d::kOrigin, CQorVector3d(0, 0, 1), s.angle);
    else if (t == L"PATH")
        ok = buildPath(solid, s);
    else if (t == L"DRILL" || t == L"OLV_NM") {
        CQor_Solid own;
        ok = builtObject(own, s.bt, t == L"OLV_NM") && solid.addSolid(own, CQorMatrix3d());
    } else if (t == L"SCORD")
        ok = buildSet(solid, s);
    else if (t == L"COMPOUND")
        ok = buildCompound(solid, s, withDrills);
    if (!ok || !withDrills || s.drills.isEmpty() || t == L"SCORD") return ok;
    CQor_Solid drill;
    if (!builtObject(drill, s.bt, false)) return false;
    for (const DrillPlacement_st& place : s.drills)
        if (!solid.addSolid(drill, place.mtx, CQor_Solid::kCut)) return false;
    return true;
}

} // namespace

bool elementCheck(const CQorDataItem* element, CQorString* badKey, CQorString* reason) {
    SchemaReader in(element);
    Shape s;
    readShape(element, in, s, 0);
    if (badKey != nullptr) *badKey = in.badKey();
    if (reason != nullptr) *reason = in.reason();
    return in.ok();
}

bool elementModel(CQor_Solid& solid, const CQorDataItem* element, bool withDrills) {
    Shape s;
    return readShape(element, s) && buildShape(solid, s, withDrills);
}

bool elementDrills(const CQorDataItem* element, DrillPlacements& placements) {
    Shape s;
    if (!readShape(element, s)) return false;
    for (const DrillPlacement_st& place : s.drills)
        placements.append(place);
    return true;
}

} // namespace QOR::detail
