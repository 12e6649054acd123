// Polyline items: view direction first, then the line type, then the device transform. A painter keeps
// each item's path between the first two and the last from frame to frame.
#include <cstring>

#include "qor/render/render_p.h"

namespace QOR::render {

namespace {

static_assert(sizeof(CQorVertex) == 7 * sizeof(double), "vertices compare as bytes");

/// True when a and b hold the same bytes: the very same coordinates, not merely equal within tolerance.
template <class T>
bool sameBytes(const CQorArrayTempl<T>& a, const CQorArrayTempl<T>& b) {
    return a.len() == b.len() &&
           (a.len() == 0 || std::memcmp(a.data(), b.data(), sizeof(T) * std::size_t(a.len())) == 0);
}

bool isUpToDate(const PreparedPolyline& kept, const Frame& frame, const CQorDisplayItem& item) {
    return kept.made && kept.ltscale == item.m_ltscale && kept.dotLength == frame.dotLength &&
           kept.patternDot == frame.patternDot &&
           std::memcmp(&kept.viewDirection, &frame.gdx.viewDirectionMtxGet(), sizeof(CQorMatrix3d)) == 0 &&
           sameBytes(kept.linetype, item.m_linetype) && sameBytes(kept.source, item.m_vl);
}

void prepare(PreparedPolyline& kept, const Frame& frame, int item) {
    const CQorDisplayItem& it = frame.item(item);
    kept.made = false; // until the path below is whole
    kept.source = it.m_vl;
    kept.linetype = it.m_linetype;
    kept.ltscale = it.m_ltscale;
    kept.viewDirection = frame.gdx.viewDirectionMtxGet();
    kept.dotLength = frame.dotLength;
    kept.patternDot = frame.patternDot;
    Scratch& scratch = frame.scratch;
    scratch.vl = it.m_vl;
    scratch.vl.transformBy(kept.viewDirection);
    itemDashes(frame.gdx, item, frame.dotLength, scratch.dashes);
    kept.path = styledPath(frame, scratch.vl, scratch.dashes, kept.continuous);
    kept.made = true;
}

} // namespace

void drawPolyline(const Frame& frame, int item, const ItemStyle& style) {
    const CQorMatrix3d m = style.base * frame.gdx.mtxGet(item);
    if (frame.polylines && std::size_t(item) < frame.polylines->size()) {
        PreparedPolyline& kept = (*frame.polylines)[std::size_t(item)];
        if (!isUpToDate(kept, frame, frame.item(item))) prepare(kept, frame, item);
        tracePath(frame, kept.path, kept.continuous, m, style.color);
        return;
    }
    Scratch& scratch = frame.scratch;
    scratch.vl = frame.item(item).m_vl;
    scratch.vl.transformBy(frame.gdx.viewDirectionMtxGet());
    itemDashes(frame.gdx, item, frame.dotLength, scratch.dashes);
    drawStyledPolyline(frame, scratch.vl, scratch.dashes, m, style.color);
}

} // namespace QOR::render
