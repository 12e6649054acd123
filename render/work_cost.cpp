// The estimate by which a large frame is shared out between threads.
#include <algorithm>
#include <cmath>

#include "qor/render/render_p.h"

namespace QOR::render {

namespace {

/// More dashes than this on one item count as this many: the estimate only weighs items against each
/// other.
constexpr double kMaxDashes = 1e6;

/// About how many dashes the item's line type lays along its polyline.
std::int64_t dashCount(const Frame& frame, int item, CQorArrayTempl<double>& dashes) {
    itemDashes(frame.gdx, item, frame.dotLength, dashes);
    double period = 0.0;
    for (const double dash : std::as_const(dashes))
        period += std::fabs(dash);
    if (!(period > 0.0)) return 0;
    double length = 0.0;
    for (const CQorVertex& vx : frame.item(item).m_vl)
        length += vx.start.distanceTo(vx.end);
    const double count = length / period * dashes.len();
    return count >= 0.0 ? std::int64_t(std::min(count, kMaxDashes)) : 0; // NaN counts none
}

/// Rough cost of drawing an item, in units of about 80 ns (what an item takes before any geometry),
/// weighed from frames of the demo drawing: a polyline vertex is often an arc of many chords, a dash is
/// a line of its own, a glyph is filled and traced, a region vertex is filled, hatched and outlined.
std::int64_t itemCost(const Frame& frame, int i, CQorArrayTempl<double>& dashes) {
    const CQorDisplayItem& item = frame.item(i);
    std::int64_t cost = 1 + 3 * std::int64_t(item.m_vl.len()) + 4 * std::int64_t(item.m_strokes.len());
    if (item.m_type == QorDisplayPt) cost += 4;
    if (item.m_type == QorDisplayVl && item.m_linetype.len() > 0) cost += dashCount(frame, i, dashes) / 3;
    for (const CQorVertexArray& loop : item.m_regions)
        cost += 10 * std::int64_t(loop.len());
    return cost;
}

} // namespace

void sliceCosts(const Frame& frame, int last, std::vector<std::int64_t>& costs) {
    costs.clear();
    costs.reserve(std::size_t(last / kSliceItems + 1));
    CQorArrayTempl<double>& dashes = frame.scratch.dashes;
    for (int i = 0; i < last; i += kSliceItems)
        costs.push_back(itemCost(frame, i, dashes) * std::min(kSliceItems, last - i));
}

} // namespace QOR::render
