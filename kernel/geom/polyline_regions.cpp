#include "qor/kernel/geom/polyline_regions.h"

#include <cmath>
#include <vector>

#include "qor/kernel/geom/polyline_ops.h"
#include "qor/kernel/geom/region_p.h"

namespace QOR {

namespace {

// Area below which a loop counts as enclosing nothing: a sliver one kOnTol wide and one unit long.
constexpr double kMinArea = kOnTol;

CQorVertexArray withoutZeroLength(const CQorVertexArray& piece) {
    CQorVertexArray out;
    for (const CQorVertex& v : piece)
        if (!v.isZeroLength()) out.append(v);
    return out;
}

bool meets(const CQorPoint3d& a, const CQorPoint3d& b) {
    return a.distanceTo(b) <= kOnTol;
}

// Closes a chain whose ends meet within kOnTol exactly, so that isClosed() holds.
void snapClosed(CQorVertexArray& loop) {
    loop.span().back().end = loop.firstVertex().start;
}

} // namespace

CQorArrayTempl<CQorVertexArray> vll_regions_prepare(const CQorArrayTempl<CQorVertexArray>& vll) {
    CQorArrayTempl<CQorVertexArray> loops;
    std::vector<CQorVertexArray> open;
    auto addLoop = [&](CQorVertexArray& loop) {
        snapClosed(loop);
        if (std::abs(detail::signedAreaXY(loop)) > kMinArea) loops.append(std::move(loop));
    };
    for (const CQorVertexArray& vl : vll)
        for (const CQorVertexArray& raw : vl_to_vll(vl)) {
            CQorVertexArray piece = withoutZeroLength(raw);
            if (piece.isEmpty()) continue;
            if (meets(piece.lastVertex().end, piece[0].start))
                addLoop(piece);
            else
                open.push_back(std::move(piece));
        }
    // Grow each open chain at its end (then at its start, by turning it round) until nothing fits.
    std::vector<bool> used(open.size(), false);
    for (std::size_t i = 0; i < open.size(); ++i) {
        if (used[i]) continue;
        used[i] = true;
        CQorVertexArray chain = std::move(open[i]);
        bool turned = false;
        while (!meets(chain.lastVertex().end, chain[0].start)) {
            const CQorPoint3d tail = chain.lastVertex().end;
            bool grown = false;
            for (std::size_t j = 0; j < open.size() && !grown; ++j) {
                if (used[j]) continue;
                CQorVertexArray& other = open[j];
                if (meets(other[0].start, tail)) {
                    grown = true;
                } else if (meets(other.lastVertex().end, tail)) {
                    other.revert();
                    grown = true;
                }
                if (grown) {
                    used[j] = true;
                    other.span().front().start = tail;
                    chain += other;
                }
            }
            if (grown) continue;
            if (turned) break;
            chain.revert();
            turned = true;
        }
        if (meets(chain.lastVertex().end, chain[0].start)) addLoop(chain);
    }
    return loops;
}

CQorArrayTempl<CQorArrayTempl<CQorVertexArray>> g_vll_regions(const CQorArrayTempl<CQorVertexArray>& loops,
                                                              int flags) {
    CQorArrayTempl<CQorArrayTempl<CQorVertexArray>> regions;
    std::vector<int> keep;
    std::vector<double> area;
    for (int i = 0; i < loops.len(); ++i) {
        const double a = detail::signedAreaXY(loops[i]);
        if (std::abs(a) > kMinArea && std::isfinite(a)) {
            keep.push_back(i);
            area.push_back(std::abs(a));
        }
    }
    const std::size_t n = keep.size();
    std::vector<detail::LoopTester> testers;
    testers.reserve(n);
    for (const int i : keep)
        testers.emplace_back(loops[i]);
    // inside(a, b): loop a lies inside loop b, judged by the first point of a that is not on b's boundary
    // (loops may touch), and only when b is the larger.
    auto inside = [&](std::size_t a, std::size_t b) {
        if (a == b || area[a] >= area[b] || !testers[b].box().overlaps(testers[a].box())) return false;
        for (const CQorVertex& v : loops[keep[a]]) {
            for (const CQorPoint3d& p : {v.start, v.mid()}) {
                const int where = testers[b].classify(p);
                if (where != 0) return where > 0;
            }
        }
        return false;
    };
    std::vector<int> depth(n, 0);
    std::vector<int> parent(n, -1);
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = 0; b < n; ++b)
            if (inside(a, b)) {
                ++depth[a];
                if (parent[a] < 0 || area[b] < area[std::size_t(parent[a])]) parent[a] = int(b);
            }
    std::vector<int> regionOf(n, -1);
    const bool orient = (flags & kRegionsOrient) != 0;
    auto oriented = [&](std::size_t a, bool ccw) {
        CQorVertexArray loop = loops[keep[a]];
        if (orient && (detail::signedAreaXY(loop) > 0.0) != ccw) loop.revert();
        return loop;
    };
    for (std::size_t a = 0; a < n; ++a)
        if (depth[a] % 2 == 0) {
            regionOf[a] = regions.len();
            regions.append(CQorArrayTempl<CQorVertexArray>{oriented(a, true)});
        }
    for (std::size_t a = 0; a < n; ++a)
        if (depth[a] % 2 == 1 && parent[a] >= 0 && regionOf[std::size_t(parent[a])] >= 0)
            regions[regionOf[std::size_t(parent[a])]].append(oriented(a, false));
    return regions;
}

} // namespace QOR
