// Polyline items: view direction first, then the line type, then the device transform. A painter keeps
// each item's path between the first two and the last from frame to frame.
#include "qor/render/render_p.h"

namespace QOR::render {

namespace {

bool isUpToDate(const PreparedPolyline& kept, const CQorDisplayItem& item) {
    return kept.made && kept.ltscale == item.m_ltscale && sameBytes(kept.linetype, item.m_linetype) &&
           sameBytes(kept.source, item.m_vl);
}

void prepare(PreparedPolyline& kept, const Frame& frame, int item) {
    const CQorDisplayItem& it = frame.item(item);
    kept.made = false; // until the path below is whole
    kept.source = it.m_vl;
    kept.linetype = it.m_linetype;
    kept.ltscale = it.m_ltscale;
    Scratch& scratch = frame.scratch;
    scratch.vl = it.m_vl;
    scratch.vl.transformBy(frame.gdx.viewDirectionMtxGet());
    itemDashes(frame.gdx, item, frame.dotLength, scratch.dashes);
    kept.path = styledPath(frame, scratch.vl, scratch.dashes, kept.continuous);
    kept.bounds = ModelBox();
    kept.bounds.add(kept.path);
    kept.made = true;
}

} // namespace

const PreparedPolyline* keptPolyline(const Frame& frame, int item) {
    PreparedPolyline* kept = frame.keptAs<PreparedPolyline>(item);
    if (!kept) return nullptr;
    // Compared with the item only when the list changed since the last look.
    const std::uint64_t revision = frame.gdx.revisionGet();
    if (kept->checkedAt != revision || !kept->made) {
        if (!isUpToDate(*kept, frame.item(item))) prepare(*kept, frame, item);
        kept->checkedAt = revision;
    }
    return kept;
}

void drawPolyline(const Frame& frame, int item, const ItemStyle& style) {
    const CQorMatrix3d m = style.base * frame.gdx.mtxGet(item);
    if (const PreparedPolyline* kept = keptPolyline(frame, item)) {
        tracePath(frame, kept->path, kept->continuous, m, style.color,
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
