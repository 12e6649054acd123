#include "qor/kernel/geom/polyline_measure.h"

#include <algorithm>
#include <cmath>

#include "qor/kernel/geom/arc_math.h"
#include "qor/kernel/geom/polyline_ops.h"

namespace QOR {

using detail::ArcFrame;

namespace {

// Walks a dash pattern: the entry in effect and how much of it is left.
class DashCursor {
public:
    DashCursor(const CQorArrayTempl<double>& dashes, double scale) : m_dashes(dashes), m_scale(scale) {
        m_left = entryLength();
    }
    double left() const { return m_left; }
    bool isDash() const { return m_dashes[m_index] > 0.0; }
    bool isDot() const { return m_dashes[m_index] == 0.0; }
    void consume(double length) { m_left -= length; }
    void next() {
        m_index = (m_index + 1) % m_dashes.len();
        m_left = entryLength();
    }

private:
    double entryLength() const { return std::abs(m_dashes[m_index]) * m_scale; }

    const CQorArrayTempl<double>& m_dashes;
    double m_scale;
    int m_index = 0;
    double m_left = 0.0;
};

/// True when vl_measure draws vl continuous: see its contract.
bool drawnSolid(const CQorVertexArray& vl, double scale, const CQorLineParm& lp) {
    const double pattern = lp.patternLength() * scale;
    const double total = vl.length();
    int entries = 0;
    for (double d : lp.dashes())
        entries += d <= 0.0 ? 1 : 0;
    return lp.isContinuous() || !(scale > 0.0) || !std::isfinite(scale) || !(pattern > 0.0) ||
           !std::isfinite(pattern) || !std::isfinite(total) ||
           total / pattern * std::max(entries, 1) > double(kMaxDashes);
}

/// Lays the dashes of a pattern that is not drawn solid along vl and hands them to out: out.add(piece)
/// extends the current dash by one piece (its start already joined to the dash's end), out.endDash()
/// closes the current dash (nothing when it is empty) and out.dot(vertex) adds a dot as a dash of its
/// own.
template <class Sink>
void layDashes(const CQorVertexArray& vl, double scale, const CQorLineParm& lp, Sink& out) {
    const CQorVector3d normal = vl.hasArcs() ? vl.normal() : CQorVector3d::kZAxis;
    DashCursor cursor(lp.dashes(), scale);
    const CQorVertex* prev = nullptr;
    for (const CQorVertex& v : vl) {
        if (prev && prev->end != v.start) out.endDash();
        prev = &v;
        const ArcFrame f(v, normal);
        const double length = f.length();
        if (!(length > 0.0)) continue;
        double pos = 0.0; // along this vertex
        while (true) {
            if (cursor.isDot()) {
                out.endDash();
                out.dot(CQorVertex(f.at(pos / length), f.at(pos / length)));
                cursor.next();
                continue;
            }
            const double room = length - pos;
            const double step = std::min(cursor.left(), room);
            if (cursor.isDash() && step > 0.0) out.add(f.piece(pos / length, (pos + step) / length));
            if (cursor.left() <= room) {
                // The entry ends on this vertex.
                pos += cursor.left();
                const bool wasDash = cursor.isDash();
                cursor.next();
                // Dash entries that follow each other make one dash.
                if (wasDash && !cursor.isDash()) out.endDash();
                if (pos >= length) break;
            } else {
                cursor.consume(room);
                break;
            }
        }
    }
    out.endDash();
}

/// Collects each dash as a polyline of its own.
class DashList {
public:
    explicit DashList(CQorArrayTempl<CQorVertexArray>& out) : m_out(out) {}
    void add(CQorVertex piece) {
        if (!m_dash.isEmpty()) piece.start = m_dash.lastVertex().end;
        m_dash.append(piece);
    }
    void endDash() {
        if (m_dash.isEmpty()) return;
        m_out.append(std::move(m_dash));
        m_dash = CQorVertexArray();
    }
    void dot(const CQorVertex& vx) { m_out.append(CQorVertexArray{vx}); }

private:
    CQorArrayTempl<CQorVertexArray>& m_out;
    CQorVertexArray m_dash;
};

/// Appends the dashes one after the other to one polyline.
class DashRun {
public:
    explicit DashRun(CQorVertexArray& out) : m_out(out), m_dashStart(out.len()) {}
    void add(CQorVertex piece) {
        if (m_out.len() > m_dashStart) piece.start = m_out.lastVertex().end;
        m_out.append(piece);
    }
    void endDash() { m_dashStart = m_out.len(); }
    void dot(const CQorVertex& vx) {
        m_out.append(vx);
        m_dashStart = m_out.len();
    }

private:
    CQorVertexArray& m_out;
    int m_dashStart; ///< where the current dash begins in m_out
};

} // namespace

CQorArrayTempl<CQorVertexArray> vl_measure(const CQorVertexArray& vl, double scale, const CQorLineParm& lp) {
    if (drawnSolid(vl, scale, lp)) return vl_to_vll(vl);
    CQorArrayTempl<CQorVertexArray> out;
    DashList dashes(out);
    layDashes(vl, scale, lp, dashes);
    return out;
}

void vl_measure_flat(const CQorVertexArray& vl, double scale, const CQorLineParm& lp, CQorVertexArray& out) {
    if (drawnSolid(vl, scale, lp)) {
        out += vl;
        return;
    }
    DashRun run(out);
    layDashes(vl, scale, lp, run);
}

namespace {

// Smallest and largest projections of the loop on u and v, arcs included.
struct Span {
    double umin = INFINITY, umax = -INFINITY, vmin = INFINITY, vmax = -INFINITY;
    double zmin = INFINITY, zmax = -INFINITY;
    void add(const CQorPoint3d& p, const CQorVector3d& u, const CQorVector3d& v) {
        const CQorVector3d d = p.asVector();
        const double pu = d.dot(u), pv = d.dot(v);
        umin = std::min(umin, pu);
        umax = std::max(umax, pu);
        vmin = std::min(vmin, pv);
        vmax = std::max(vmax, pv);
        zmin = std::min(zmin, p.z);
        zmax = std::max(zmax, p.z);
    }
};

Span spanOf(const CQorVertexArray& loop, double angle, CQorVector3d& u, CQorVector3d& v) {
    u = polar(angle, 1.0);
    v = polar(angle + 1.5707963267948966, 1.0);
    Span s;
    for (const CQorVertex& vx : loop) {
        const CQorVertex flat = g_vx_xy(vx);
        s.add(vx.start, u, v);
        s.add(vx.end, u, v);
        const ArcFrame f(flat, CQorVector3d::kZAxis);
        auto addFlat = [&](const CQorPoint3d& p) { s.add({p.x, p.y, vx.start.z}, u, v); };
        f.forEachExtreme(u, addFlat);
        f.forEachExtreme(v, addFlat);
    }
    return s;
}

} // namespace

bool vl_extmax(const CQorVertexArray& loop, double angle, CQorPoint3d& lo, CQorPoint3d& hi) {
    lo = hi = CQorPoint3d::kOrigin;
    if (loop.isEmpty()) return false;
    CQorVector3d u, v;
    const Span s = spanOf(loop, angle, u, v);
    lo = CQorPoint3d::kOrigin + u * s.umin + v * s.vmin;
    hi = CQorPoint3d::kOrigin + u * s.umax + v * s.vmax;
    lo.z = s.zmin;
    hi.z = s.zmax;
    return true;
}

CQorPoint3dArray vl_extmax(const CQorVertexArray& loop, double angle) {
    CQorPoint3dArray out;
    CQorPoint3d lo, hi;
    if (!vl_extmax(loop, angle, lo, hi)) return out;
    out.append(lo);
    out.append(hi);
    return out;
}

CQorVertexArray vl_extrect(const CQorVertexArray& loop, double angle) {
    CQorVertexArray out;
    if (loop.isEmpty()) return out;
    CQorVector3d u, v;
    const Span s = spanOf(loop, angle, u, v);
    const CQorPoint3d o = CQorPoint3d::kOrigin;
    CQorPoint3dArray corners{o + u * s.umin + v * s.vmin, o + u * s.umax + v * s.vmin,
                             o + u * s.umax + v * s.vmax, o + u * s.umin + v * s.vmax};
    out.fromPoints(corners, true);
    if (out.len() == 3) out.append(corners[3], corners[0]); // a degenerate box still has four sides
    return out;
}

} // namespace QOR
