#include "qor/kernel/geom/polyline_clip.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "qor/kernel/geom/region_p.h"

namespace QOR {
namespace detail {

LoopTester::LoopTester(const CQorVertexArray& loop) : m_loop(&loop) {
    if (loop.isEmpty()) return;
    const CQorVertex& first = loop[0];
    const CQorVertex& last = loop[loop.len() - 1];
    if (last.end.x != first.start.x || last.end.y != first.start.y) {
        m_closing = {last.end, first.start};
        m_hasClosing = true;
    }
    m_boxes.reserve(std::size_t(loop.len()) + 1);
    forEachVertex([&](const CQorVertex& v) {
        const Box2 b = Box2::of(v);
        if (m_boxes.empty())
            m_box = b;
        else
            m_box.add(b);
        m_boxes.push_back(b);
    });
}

int LoopTester::classify(const CQorPoint3d& p) const {
    if (m_loop->isEmpty() || !m_box.contains(p.x, p.y)) return -1;
    bool onBoundary = false;
    bool inside = false;
    const CQorPoint3d flatP{p.x, p.y, 0.0};
    // Only vertices whose box spans p's height can hold p, cross the ray from p or have p in their cap.
    const Box2 row{m_box.x0, p.y, m_box.x1, p.y};
    forEachVertexIn(row, [&](const CQorVertex& v, const Box2& box) {
        if (onBoundary) return;
        const CQorVertex f = flatXY(v);
        if (box.contains(p.x, p.y)) {
            const ArcFrame frame(f, CQorVector3d::kZAxis);
            if (frame.at(frame.nearestParam(flatP)).distanceTo(flatP) <= kOnTol) {
                onBoundary = true;
                return;
            }
            // The region between the chord and the arc (the cap) flips inside and outside: the loop
            // with the arc encloses what the loop with the chord encloses, give or take the cap.
            if (frame.arc) {
                const double cx = f.start.x + frame.cx, cy = f.start.y + frame.cy;
                if (std::hypot(p.x - cx, p.y - cy) < frame.radius) {
                    const double side =
                        (f.end.x - f.start.x) * (p.y - f.start.y) - (f.end.y - f.start.y) * (p.x - f.start.x);
                    // A counter-clockwise arc bulges to the right of its chord.
                    if ((f.bulge > 0.0 && side < 0.0) || (f.bulge < 0.0 && side > 0.0)) inside = !inside;
                }
            }
        }
        // Crossing of the chord with the ray from p towards +X (lower end included, upper excluded).
        const CQorPoint3d& a = f.start;
        const CQorPoint3d& b = f.end;
        if ((a.y > p.y) != (b.y > p.y)) {
            const double xi = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (p.x < xi) inside = !inside;
        }
    });
    if (onBoundary) return 0;
    return inside ? 1 : -1;
}

RegionTester::RegionTester(const CQorArrayTempl<CQorVertexArray>& loops) {
    m_loops.reserve(std::size_t(loops.len()));
    for (const CQorVertexArray& loop : loops)
        m_loops.emplace_back(loop);
}

int RegionTester::classify(const CQorPoint3d& p) const {
    if (m_loops.empty()) return -1;
    const int outer = m_loops[0].classify(p);
    if (outer < 0) return -1;
    bool onBoundary = outer == 0;
    for (std::size_t i = 1; i < m_loops.size(); ++i) {
        const int hole = m_loops[i].classify(p);
        if (hole > 0) return -1;
        if (hole == 0) onBoundary = true;
    }
    return onBoundary ? 0 : 1;
}

double signedAreaXY(const CQorVertexArray& loop) {
    if (loop.isEmpty()) return 0.0;
    const LoopTester tester(loop);
    const CQorPoint3d o = loop[0].start;
    double twice = 0.0;
    double caps = 0.0;
    tester.forEachVertex([&](const CQorVertex& v) {
        const double ax = v.start.x - o.x, ay = v.start.y - o.y;
        const double bx = v.end.x - o.x, by = v.end.y - o.y;
        twice += ax * by - ay * bx;
        const ArcFrame f(flatXY(v), CQorVector3d::kZAxis);
        if (f.arc) {
            const double s = std::abs(f.sweep);
            caps += std::copysign(f.radius * f.radius / 2.0 * (s - std::sin(s)), f.sweep);
        }
    });
    // Jumps between vertices that do not connect count as straight edges.
    for (int i = 0; i + 1 < loop.len(); ++i) {
        const CQorPoint3d& a = loop[i].end;
        const CQorPoint3d& b = loop[i + 1].start;
        twice += (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
    }
    return twice / 2.0 + caps;
}

namespace {

void flush(CQorVertexArray& piece, CQorArrayTempl<CQorVertexArray>& out) {
    if (piece.isEmpty()) return;
    out.append(std::move(piece));
    piece = CQorVertexArray();
}

// Splits every vertex of path where it meets a loop and keeps the parts whose midpoints the region
// classifies as wanted; kept parts that connect are joined into one piece.
void punchPath(const CQorVertexArray& path, const RegionTester& region, bool inside,
               CQorArrayTempl<CQorVertexArray>& out) {
    std::vector<double> ts;
    std::vector<double> cuts;
    Hit hits[kMaxHits];
    CQorVertexArray piece;
    auto want = [&](const CQorPoint3d& p) {
        const int where = region.classify(p);
        return inside ? where >= 0 : where < 0;
    };
    for (const CQorVertex& v : path) {
        const CQorVertex f = flatXY(v);
        const double length = ArcFrame(f, CQorVector3d::kZAxis).planarLength();
        if (!(length > kOnTol) || !std::isfinite(length)) {
            // Too short to cut: kept or dropped whole, by its start point.
            if (want(v.start)) {
                if (!piece.isEmpty() && piece.lastVertex().end != v.start) flush(piece, out);
                piece.append(v);
            } else {
                flush(piece, out);
            }
            continue;
        }
        ts.clear();
        const Box2 box = Box2::of(f);
        for (const LoopTester& loop : region.loops()) {
            if (!box.overlaps(loop.box())) continue;
            loop.forEachVertexIn(box, [&](const CQorVertex& w, const Box2&) {
                const int n = intersectXY(v, w, hits);
                for (int k = 0; k < n; ++k)
                    ts.push_back(hits[k].ta);
            });
        }
        std::sort(ts.begin(), ts.end());
        // Cut parameters closer than kOnTol along the vertex are one cut.
        const double eps = kOnTol / length;
        cuts.assign(1, 0.0);
        for (const double t : ts)
            if (t - cuts.back() > eps && 1.0 - t > eps) cuts.push_back(t);
        cuts.push_back(1.0);
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
            const CQorVertex sub = v.subSegment(cuts[k], cuts[k + 1]);
            if (!want(sub.mid())) {
                flush(piece, out);
                continue;
            }
            if (!piece.isEmpty() && piece.lastVertex().end != sub.start) flush(piece, out);
            piece.append(sub);
        }
    }
    flush(piece, out);
}

} // namespace
} // namespace detail

bool g_vl_orient(const CQorVertexArray& loop, const CQorVector3d& axis) {
    if (loop.isEmpty()) return false;
    const CQorVector3d n = loop.normal();
    const CQorPoint3d o = loop[0].start;
    CQorVector3d area;
    CQorPoint3d prevEnd = o;
    bool first = true;
    detail::forEachLoopVertex(loop, [&](const CQorVertex& v) {
        if (!first) area += (prevEnd - o) * (v.start - o); // a jump between unconnected vertices
        first = false;
        area += (v.start - o) * (v.end - o);
        prevEnd = v.end;
        const detail::ArcFrame f(v, n);
        if (f.arc) {
            const double s = std::abs(f.sweep);
            area += n * std::copysign(f.radius * f.radius * (s - std::sin(s)), f.sweep);
        }
    });
    // area holds twice the enclosed area vector.
    const double along = area.dot(axis);
    return along > 0.0 && std::isfinite(along);
}

int g_vll_pt_inside(const CQorArrayTempl<CQorVertexArray>& loops, const CQorPoint3d& p) {
    return detail::RegionTester(loops).classify(p);
}

CQorArrayTempl<CQorVertexArray> vl_punch_reg(const CQorVertexArray& segment,
                                             const CQorArrayTempl<CQorVertexArray>& loops, bool inside) {
    CQorArrayTempl<CQorVertexArray> out;
    detail::punchPath(segment, detail::RegionTester(loops), inside, out);
    return out;
}

bool vl_punch(CQorArrayTempl<CQorVertexArray>& pieces, const CQorVertexArray& loop, bool inside) {
    if (loop.isEmpty()) return false;
    const detail::RegionTester region(loop);
    CQorArrayTempl<CQorVertexArray> out;
    for (const CQorVertexArray& piece : pieces)
        detail::punchPath(piece, region, inside, out);
    pieces = std::move(out);
    return true;
}

} // namespace QOR
