// Polyline items: view direction first, then the line type, then the device transform.
#include "qor/render/render_p.h"

namespace QOR::render {

void drawPolyline(const Frame& frame, int item, const ItemStyle& style) {
    Scratch& scratch = frame.scratch;
    scratch.vl = frame.item(item).m_vl;
    scratch.vl.transformBy(frame.gdx.viewDirectionMtxGet());
    itemDashes(frame.gdx, item, frame.dotLength, scratch.dashes);
    drawStyledPolyline(frame, scratch.vl, scratch.dashes, style.base * frame.gdx.mtxGet(item), style.color);
}

} // namespace QOR::render
