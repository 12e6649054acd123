#include "qor/objlib/outline.h"

#include <cmath>
#include <numbers>

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"
#include "qor/kernel/data/file_find.h"
#include "qor/kernel/locale/units.h"
#include "qor/objlib/solid.h"

namespace QOR {

namespace {

constexpr double kMax = CQor_Solid::kMaxCoordinate;
constexpr double kPi = std::numbers::pi;

/// Builds a closed loop one segment at a time from a start point; arcs are given by their included
/// angle (radians, positive counter-clockwise) and split so that none spans more than a half circle.
class LoopBuilder {
public:
    explicit LoopBuilder(CQorVertexArray& out, double x, double y)
        : m_out(out), m_at(x, y, 0), m_first(m_at) {
        m_out.clear();
    }
    void lineTo(double x, double y) { add({x, y, 0}, 0); }
    /// An arc to (x, y) turning by angle about +Z (negative: clockwise).
    void arcTo(double x, double y, double angle) {
        if (std::abs(angle) <= kPi + 1e-12) {
            add({x, y, 0}, std::tan(angle / 4));
            return;
        }
        // Through the arc's middle: the centre lies on the chord's perpendicular bisector.
        const CQorPoint3d to(x, y, 0);
        const double chordHalf = (to - m_at).abs() / 2;
        const double radius = chordHalf / std::sin(std::abs(angle) / 2);
        const CQorPoint3d mid = m_at + (to - m_at) * 0.5;
        CQorVector3d toCentre(-(to.y - m_at.y), to.x - m_at.x, 0); // left of the chord
        toCentre = toCentre.normal() * (radius * std::cos(angle / 2) * (angle > 0 ? 1 : -1));
        const CQorPoint3d centre = mid + toCentre;
        const double start = std::atan2(m_at.y - centre.y, m_at.x - centre.x) + angle / 2;
        add({centre.x + radius * std::cos(start), centre.y + radius * std::sin(start), 0},
            std::tan(angle / 8));
        add(to, std::tan(angle / 8));
    }
    /// Closes the loop with an arc of angle (0: a straight line) back to the first point.
    void close(double angle = 0) {
        if (angle == 0)
            lineTo(m_first.x, m_first.y);
        else
            arcTo(m_first.x, m_first.y, angle);
    }

private:
    void add(const CQorPoint3d& to, double bulge) {
        if (!(to == m_at)) m_out.append(m_at, to, bulge);
        m_at = to;
    }
    CQorVertexArray& m_out;
    CQorPoint3d m_at;
    CQorPoint3d m_first;
};

bool circle(CQorVertexArray& vl, double radius) {
    if (!(radius != 0)) return false;
    const double turn = radius > 0 ? kPi : -kPi;
    LoopBuilder loop(vl, std::abs(radius), 0);
    loop.arcTo(-std::abs(radius), 0, turn);
    loop.close(turn);
    return true;
}

bool rectangle(CQorVertexArray& vl, double w, double h, double r) {
    if (!(w > 0 && h > 0 && r >= 0 && r <= std::min(w, h) / 2)) return false;
    const double x = w / 2, y = h / 2;
    LoopBuilder loop(vl, -x + r, -y);
    loop.lineTo(x - r, -y);
    if (r > 0) loop.arcTo(x, -y + r, kPi / 2);
    loop.lineTo(x, y - r);
    if (r > 0) loop.arcTo(x - r, y, kPi / 2);
    loop.lineTo(-x + r, y);
    if (r > 0) loop.arcTo(-x, y - r, kPi / 2);
    loop.lineTo(-x, -y + r);
    loop.close(r > 0 ? kPi / 2 : 0);
    return true;
}

bool slot(CQorVertexArray& vl, double length, double width) {
    if (!(width > 0 && length >= width)) return false;
    const double x = (length - width) / 2, r = width / 2;
    LoopBuilder loop(vl, -x, -r);
    loop.lineTo(x, -r);
    loop.arcTo(x, r, kPi);
    loop.lineTo(-x, r);
    loop.close(kPi);
    return true;
}

bool polygon(CQorVertexArray& vl, double sides, double diameter) {
    const double n = std::round(sides);
    if (!(n >= 3 && n <= 1000 && diameter > 0)) return false;
    const int count = int(n);
    const double r = diameter / 2, first = -kPi / 2 - kPi / count; // the first side lies at the bottom
    LoopBuilder loop(vl, r * std::cos(first), r * std::sin(first));
    for (int i = 1; i < count; ++i)
        loop.lineTo(r * std::cos(first + 2 * kPi * i / count), r * std::sin(first + 2 * kPi * i / count));
    loop.close();
    return true;
}

bool lProfile(CQorVertexArray& vl, double a, double b, double t) {
    if (!(a > 0 && b > 0 && t > 0 && t < a && t < b)) return false;
    LoopBuilder loop(vl, 0, 0);
    loop.lineTo(a, 0);
    loop.lineTo(a, t);
    loop.lineTo(t, t);
    loop.lineTo(t, b);
    loop.lineTo(0, b);
    loop.close();
    return true;
}

bool uProfile(CQorVertexArray& vl, double h, double w, double web, double flange) {
    if (!(h > 0 && w > 0 && web > 0 && web < w && flange > 0 && flange < h / 2)) return false;
    LoopBuilder loop(vl, 0, 0);
    loop.lineTo(w, 0);
    loop.lineTo(w, flange);
    loop.lineTo(web, flange);
    loop.lineTo(web, h - flange);
    loop.lineTo(w, h - flange);
    loop.lineTo(w, h);
    loop.lineTo(0, h);
    loop.close();
    return true;
}

bool ringSegment(CQorVertexArray& vl, double outer, double inner, double degrees) {
    if (!(outer > 0 && inner >= 0 && inner < outer && degrees > 0 && degrees < 360)) return false;
    const double a = degrees * kPi / 180, c = std::cos(a), s = std::sin(a);
    LoopBuilder loop(vl, inner, 0);
    loop.lineTo(outer, 0);
    loop.arcTo(outer * c, outer * s, a);
    if (inner > 0) {
        loop.lineTo(inner * c, inner * s);
        loop.close(-a);
    } else {
        loop.lineTo(0, 0);
        loop.close();
    }
    return true;
}

bool build(CQorVertexArray& vl, int outline, const CQorArrayTempl<double>& p) {
    auto need = [&](int n) { return p.len() >= n; };
    switch (outline) {
    case 1:
        return need(1) && p[0] > 0 && circle(vl, p[0] / 2);
    case 2:
        return need(2) && rectangle(vl, p[0], p[1], 0);
    case 3:
        return need(3) && rectangle(vl, p[0], p[1], p[2]);
    case 4:
        return need(2) && slot(vl, p[0], p[1]);
    case 5:
        return need(2) && polygon(vl, p[0], p[1]);
    case 6:
        return need(3) && lProfile(vl, p[0], p[1], p[2]);
    case 7:
        return need(4) && uProfile(vl, p[0], p[1], p[2], p[3]);
    case 21:
        return need(3) && ringSegment(vl, p[0], p[1], p[2]);
    case 22:
        return need(1) && circle(vl, p[0]);
    default:
        return false;
    }
}

/// Which parameters of an outline are lengths (a unit converts them); the rest are counts and angles.
bool isLength(int outline, int parm) {
    return !(outline == 5 && parm == 0) && !(outline == 21 && parm == 2);
}

bool makeOutline(CQorVertexArray& vl, int outline, const CQorVector3d& base,
                 const CQorArrayTempl<double>& parms) {
    vl.clear();
    for (int i = 0; i < parms.len() && i < kOutlineMaxParms; ++i)
        if (!std::isfinite(parms[i]) || std::abs(parms[i]) > kMax) return false;
    if (!(std::abs(base.x) <= kMax && std::abs(base.y) <= kMax && std::abs(base.z) <= kMax)) return false;
    CQorVertexArray shape;
    if (!build(shape, outline, parms)) return false;
    shape.move(base);
    for (const CQorVertex& v : shape)
        if (!(std::abs(v.start.x) <= kMax && std::abs(v.start.y) <= kMax && std::abs(v.start.z) <= kMax))
            return false;
    vl = std::move(shape);
    return true;
}

} // namespace

bool g_outline(CQorVertexArray& vl, int outline, const CQorVector3d& base,
               const CQorArrayTempl<double>& parms) noexcept {
    return detail::guardedAt("QOR::g_outline", false, [&] {
        if (makeOutline(vl, outline, base, parms)) return true;
        vl.clear();
        return false;
    });
}

CQorVertexArray g_outline(int outline, const CQorVector3d& base,
                          const CQorArrayTempl<double>& parms) noexcept {
    return detail::guardedAt("QOR::g_outline", CQorVertexArray(), [&] {
        CQorVertexArray vl;
        makeOutline(vl, outline, base, parms);
        return vl;
    });
}

bool g_outline(CQorVertexArray& vl, const CQorDataItem* item, int unit) noexcept {
    return detail::guardedAt("QOR::g_outline", false, [&] {
        vl.clear();
        int outline = 0;
        if (item == nullptr || !item->isDir() || !item->get(outline, L"ID")) return false;
        int from = -1;
        const bool convert = unit >= 0 && item->get(from, L"INSUNIT");
        CQorArrayTempl<double> parms;
        for (int i = 0; i < kOutlineMaxParms; ++i) {
            double value = 0;
            static constexpr const wchar_t* kParmKeys[kOutlineMaxParms] = {L"P1", L"P2", L"P3",
                                                                           L"P4", L"P5", L"P6"};
            if (!item->get(value, kParmKeys[i])) break;
            parms.append(convert && isLength(outline, i) ? acadUnitCv(value, from, unit) : value);
        }
        CQorPoint3d base;
        item->get(base, L"BASE");
        if (convert)
            base = CQorPoint3d(acadUnitCv(base.x, from, unit), acadUnitCv(base.y, from, unit),
                               acadUnitCv(base.z, from, unit));
        if (makeOutline(vl, outline, base - CQorPoint3d::kOrigin, parms)) return true;
        vl.clear();
        return false;
    });
}

bool outlineInit(CQorDataItem* catalogue) noexcept {
    return detail::guardedAt("QOR::outlineInit", false, [&] {
        if (catalogue == nullptr || !(catalogue->isDir() || catalogue->isNone())) return false;
        CQorString file;
        CQorDataItem bundled;
        if (!fileFind(file, L"outlines.json") ||
            !dataReadJsonFile(bundled, std::filesystem::u8path(file.toUtf8())) || !bundled.isDir())
            return false;
        return catalogue->insert(bundled, false);
    });
}

} // namespace QOR
