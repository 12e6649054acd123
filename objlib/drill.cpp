#include "qor/objlib/drill.h"

#include <cmath>
#include <numbers>

#include "qor/objlib/schema_p.h"
#include "qor/objlib/solid.h"

namespace QOR {

namespace {

constexpr double kMax = CQor_Solid::kMaxCoordinate;

double radians(double degrees) {
    return degrees * std::numbers::pi / 180;
}

} // namespace

double Drill_st::tipLength() const noexcept {
    if (!(pointAngle > 0 && pointAngle < 180)) return 0;
    return diameter / 2 / std::tan(radians(pointAngle) / 2);
}

bool drillRead(const CQorDataItem* root, Drill_st& drill, CQorString* badKey, CQorString* reason) noexcept {
    try {
        detail::SchemaReader in(root);
        Drill_st d;
        d.diameter = in.number(L"DIA", true, 0, 0, kMax, true);
        d.depth = in.number(L"DEPTH", true, 0, 0, kMax, true);
        d.pointAngle = in.number(L"POINT_ANGLE", false, 118, 0, 180, true);
        if (in.ok() && d.tipLength() > kMax) in.fail(L"POINT_ANGLE", L"out of range");
        if (in.optionalDir(L"HEAD")) {
            const CQorString type = in.text(L"HEAD\\TYPE", true);
            d.headDiameter = in.number(L"HEAD\\DIA", true, 0, d.diameter, kMax, true);
            if (type == L"BORE") {
                d.head = Drill_st::kCounterbore;
                d.headDepth = in.number(L"HEAD\\DEPTH", true, 0, 0, d.depth, true, true);
            } else if (type == L"SINK") {
                d.head = Drill_st::kCountersink;
                d.headAngle = in.number(L"HEAD\\ANGLE", false, 90, 0, 180, true, true);
                d.headDepth = (d.headDiameter - d.diameter) / 2 / std::tan(radians(d.headAngle) / 2);
                if (in.ok() && !(d.headDepth < d.depth))
                    in.fail(L"HEAD\\DIA", L"the countersink is deeper than DEPTH");
            } else if (in.ok()) {
                in.fail(L"HEAD\\TYPE", L"neither BORE nor SINK");
            }
        }
        if (in.optionalDir(L"THREAD")) {
            d.threaded = true;
            d.threadName = in.text(L"THREAD\\NAME", false);
            d.threadDiameter = in.number(L"THREAD\\DIA", true, 0, d.diameter, kMax);
            d.threadPitch = in.number(L"THREAD\\PITCH", true, 0, 0, kMax, true);
            d.threadDepth = in.number(L"THREAD\\DEPTH", true, 0, 0, d.depth, true);
        }
        if (!in.ok()) {
            if (badKey != nullptr) *badKey = in.badKey();
            if (reason != nullptr) *reason = in.reason();
            return false;
        }
        drill = d;
        return true;
    } catch (...) {
        if (badKey != nullptr) *badKey = CQorString();
        if (reason != nullptr) *reason = L"out of memory";
        return false;
    }
}

bool drillModel(CQor_Solid& solid, const Drill_st& drill) noexcept {
    CQor_Solid bodies;
    const CQorPoint3d top = CQorPoint3d::kOrigin;
    const CQorVector3d down(0, 0, -1);
    const double radius = drill.diameter / 2;
    bool ok = true;
    double shaftTop = 0; // the shaft starts below the head
    switch (drill.head) {
    case Drill_st::kCounterbore:
        ok = bodies.addCylinder(top, down, drill.headDiameter / 2, drill.headDepth);
        shaftTop = drill.headDepth;
        break;
    case Drill_st::kCountersink:
        ok = bodies.addCone(top, down, drill.headDiameter / 2, radius, drill.headDepth);
        shaftTop = drill.headDepth;
        break;
    case Drill_st::kNoHead:
        break;
    }
    ok = ok && bodies.addCylinder(top + down * shaftTop, down, radius, drill.depth - shaftTop);
    const double tip = drill.tipLength();
    if (ok && tip > 0) ok = bodies.addCone(top + down * drill.depth, down, radius, 0, tip);
    if (!ok) return false;
    solid = std::move(bodies);
    return true;
}

} // namespace QOR
