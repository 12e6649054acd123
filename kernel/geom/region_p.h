#pragma once

// Internal: point classification against loops and regions in the XY projection, shared by the
// clipping and region-grouping functions. Conventions: arc_math.h.

#include <vector>

#include "qor/kernel/geom/intersect_p.h"
#include "qor/kernel/geom/vertex_array.h"

namespace QOR::detail {

/// One loop, taken as closed: a loop that does not end where it starts is closed by a straight vertex.
/// Keeps a pointer to the loop, which must outlive the tester.
/// Calls fn(vertex) for every vertex of loop and then, when the loop's last end is not its first start
/// (in x and y), for the straight vertex that closes it.
template <class Fn>
void forEachLoopVertex(const CQorVertexArray& loop, Fn&& fn) {
    for (const CQorVertex& v : loop)
        fn(v);
    if (loop.isEmpty()) return;
    const CQorVertex& first = loop[0];
    const CQorVertex& last = loop[loop.len() - 1];
    if (last.end.x != first.start.x || last.end.y != first.start.y) fn(CQorVertex(last.end, first.start));
}

class LoopTester {
public:
    explicit LoopTester(const CQorVertexArray& loop);

    /// 1 inside, 0 on the boundary (within kOnTol), -1 outside (also for NaN and for an empty loop).
    int classify(const CQorPoint3d& p) const;
    const Box2& box() const { return m_box; }
    bool isEmpty() const { return m_loop->isEmpty(); }

    /// Calls fn(vertex) for every vertex, the closing one included.
    template <class Fn>
    void forEachVertex(Fn&& fn) const {
        for (const CQorVertex& v : *m_loop)
            fn(v);
        if (m_hasClosing) fn(m_closing);
    }
    /// Calls fn(vertex, box) for every vertex whose box (Box2::of) overlaps query.
    template <class Fn>
    void forEachVertexIn(const Box2& query, Fn&& fn) const {
        const int n = m_loop->len();
        for (int i = 0; i < n; ++i)
            if (m_boxes[std::size_t(i)].overlaps(query)) fn(m_loop->data()[i], m_boxes[std::size_t(i)]);
        if (m_hasClosing && m_boxes.back().overlaps(query)) fn(m_closing, m_boxes.back());
    }

private:
    const CQorVertexArray* m_loop;
    CQorVertex m_closing;
    bool m_hasClosing = false;
    Box2 m_box;
    std::vector<Box2> m_boxes; ///< Box2::of of each vertex, the closing one last
};

/// A region: the first loop is the outer boundary, every other loop a hole. The boundary belongs to
/// the region. Keeps pointers to the loops.
class RegionTester {
public:
    explicit RegionTester(const CQorArrayTempl<CQorVertexArray>& loops);
    /// A region of one loop without holes.
    explicit RegionTester(const CQorVertexArray& loop) { m_loops.emplace_back(loop); }
    /// 1 inside, 0 on the boundary, -1 outside (everything is outside a region without loops).
    int classify(const CQorPoint3d& p) const;
    const std::vector<LoopTester>& loops() const { return m_loops; }

private:
    std::vector<LoopTester> m_loops;
};

/// Area enclosed by the loop in the XY projection, positive when it runs counter-clockwise (closing
/// chord implied, arcs included).
double signedAreaXY(const CQorVertexArray& loop);

} // namespace QOR::detail
