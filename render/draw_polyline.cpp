// Polyline items: view direction first, then the line type, then the device transform. A painter keeps
// each item's path between the first two and the last from frame to frame.
#include <algorithm>
#include <limits>

#include "qor/render/render_p.h"

namespace QOR::render {

namespace {

void prepare(PreparedPolyline& kept, const Frame& frame, int item) {
    const CQorDisplayItem& it = frame.item(item);
    kept.made = false; // until the path below is whole
    kept.stamp = it.m_stamp;
    Scratch& scratch = frame.scratch;
    scratch.vl = it.m_vl;
    scratch.vl.transformBy(frame.gdx.viewDirectionMtxGet());
    itemDashes(frame.gdx, item, frame.dotLength, scratch.dashes);
    kept.path = styledPath(frame, scratch.vl, scratch.dashes, kept.continuous);
    kept.bounds = ModelBox();
    kept.bounds.add(kept.path);
    kept.shortest = std::numeric_limits<double>::infinity();
    for (const CQorVertex& vx : kept.path)
        kept.shortest = std::min(kept.shortest, vx.end.distanceTo(vx.start)); // as tracePath measures
    if (kept.flat.assign(kept.path)) kept.path = CQorVertexArray();           // its memory goes
    kept.made = true;
}

} // namespace

const PreparedPolyline* keptPolyline(const Frame& frame, int item) {
    PreparedPolyline* kept = frame.keptAs<PreparedPolyline>(item);
    if (!kept) return nullptr;
    if (!madeFrom(*kept, frame.item(item))) prepare(*kept, frame, item);
    return kept;
}

void drawPolyline(const Frame& frame, int item, const ItemStyle& style) {
    const CQorMatrix3d m = style.base * frame.gdx.mtxGet(item);
    if (const PreparedPolyline* kept = keptPolyline(frame, item)) {
        const bool continuous = kept->continuous || kept->shortest >= frame.minSegment;
        const bool affine = isAffine(m) && !kept->bounds.hasNaN() && !kept->bounds.isEmpty();
        if (kept->flat.empty()) {
            tracePath(frame, kept->path, continuous, m, style.color, affine);
        } else {
            tracePath(frame, kept->flat, continuous, m, style.color, affine);
        }
        return;
    }
    Scratch& scratch = frame.scratch;
    scratch.vl = frame.item(item).m_vl;
    scratch.vl.transformBy(frame.gdx.viewDirectionMtxGet());
    itemDashes(frame.gdx, item, frame.dotLength, scratch.dashes);
    drawStyledPolyline(frame, scratch.vl, scratch.dashes, m, style.color);
}

} // namespace QOR::render
