#include "qor/objlib/standard_part.h"

#include <cmath>
#include <numbers>

#include "qor/kernel/base/status.h"
#include "qor/objlib/schema_p.h"
#include "qor/objlib/solid.h"

namespace QOR {

namespace {

constexpr StandardSize_st kSizes[] = {
    {L"M6", 6.0, 10.0, 4.0, 5.2},    {L"M8", 8.0, 13.0, 5.3, 6.8},     {L"M10", 10.0, 16.0, 6.4, 8.4},
    {L"M12", 12.0, 18.0, 7.5, 10.8}, {L"M16", 16.0, 24.0, 10.0, 14.8}, {L"M20", 20.0, 30.0, 12.5, 18.0},
};

/// The hexagon of width s across the flats about the origin in the XY plane, corners on the X axis.
CQorVertexArray hexagon(double s) {
    const double r = s / std::sqrt(3.0);
    CQorPoint3dArray corners;
    for (int i = 0; i < 6; ++i) {
        const double a = i * std::numbers::pi / 3;
        corners.append(CQorPoint3d(r * std::cos(a), r * std::sin(a), 0));
    }
    CQorVertexArray vl;
    vl.fromPoints(corners, true);
    return vl;
}

struct Part {
    bool bolt = true;
    const StandardSize_st* row = nullptr;
    double length = 0;
};

bool readPart(const CQorDataItem* root, Part& part, CQorString* badKey, CQorString* reason) {
    detail::SchemaReader in(root);
    const CQorString norm = in.text(L"NORM", true);
    if (in.ok() && norm != L"ISO4017" && norm != L"ISO4032") in.fail(L"NORM", L"unknown norm");
    part.bolt = norm == L"ISO4017";
    const CQorString size = in.text(L"SIZE", true);
    if (in.ok()) part.row = standardSize(size.c_str());
    if (in.ok() && part.row == nullptr) in.fail(L"SIZE", L"unknown size");
    if (part.bolt) part.length = in.number(L"LEN", true, 0, 0, CQor_Solid::kMaxCoordinate, true);
    if (badKey != nullptr) *badKey = in.badKey();
    if (reason != nullptr) *reason = in.reason();
    return in.ok();
}

} // namespace

const StandardSize_st* standardSize(const wchar_t* size) noexcept {
    if (size == nullptr) return nullptr;
    for (const StandardSize_st& row : kSizes)
        if (std::wcscmp(row.size, size) == 0) return &row;
    return nullptr;
}

bool nmCheck(const CQorDataItem* root, CQorString* badKey, CQorString* reason) noexcept {
    return detail::guardedAt("QOR::nmCheck", false, [&] {
        Part part;
        return readPart(root, part, badKey, reason);
    });
}

bool nmModel(CQor_Solid& solid, const CQorDataItem* root) noexcept {
    return detail::guardedAt("QOR::nmModel", false, [&] {
        Part part;
        if (!readPart(root, part, nullptr, nullptr)) return false;
        const StandardSize_st& row = *part.row;
        CQor_Solid bodies;
        const CQorVector3d up(0, 0, 1), down(0, 0, -1);
        bool ok;
        if (part.bolt) {
            ok = bodies.addPrism(hexagon(row.acrossFlats), up * row.headHeight) &&
                 bodies.addCylinder(CQorPoint3d::kOrigin, down, row.diameter / 2, part.length);
        } else {
            ok = bodies.addPrism(hexagon(row.acrossFlats), down * row.nutHeight) &&
                 bodies.addCylinder(CQorPoint3d(0, 0, -row.nutHeight - 1), up, row.diameter / 2,
                                    row.nutHeight + 2, CQor_Solid::kCut);
        }
        if (!ok) return false;
        solid = std::move(bodies);
        return true;
    });
}

} // namespace QOR
