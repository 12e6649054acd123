// Polyline items: view direction first, then the line type, then the device transform. A painter keeps
// each item's path between the first two and the last from frame to frame.
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
    bool continuous = false;
    const CQorVertexArray& styled = styledPath(frame, scratch.vl, scratch.dashes, continuous);
    kept.bounds = ModelBox();
    kept.bounds.add(styled);
    kept.path.assign(styled, continuous);
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
        tracePath(frame, kept->path, m, style.color,
                  isAffine(m) && !kept->bounds.hasNaN() && !kept->bounds.isEmpty());
        return;
    }
    Scratch& scratch = frame.scratch;
    scratch.vl = frame.item(item).m_vl;
    scratch.vl.transformBy(frame.gdx.viewDirectionMtxGet());
    itemDashes(frame.gdx, item, frame.dotLength, scratch.dashes);
    drawStyledPolyline(frame, scratch.vl, scratch.dashes, m, style.color);
}

} // namespace QOR::render
