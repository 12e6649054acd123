// Polyline items: view direction first, then the line type, then the device transform.
#include "render/render_p.h"

namespace QOR::render {

void drawPolyline(const Frame& frame, int item, const ItemStyle& style) {
    CQorVertexArray vl;
    frame.gdx.geomGet(vl, item);
    vl.transformBy(frame.gdx.viewDirectionMtxGet());
    const CQorArrayTempl<double> dashes = itemDashes(frame.gdx, item, frame.dotLength);
    drawStyledPolyline(frame, vl, dashes, style.base * frame.gdx.mtxGet(item), style.color);
}

} // namespace QOR::render
