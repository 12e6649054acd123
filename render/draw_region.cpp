// Region items: solid fill (or hatch), then the outline drawn as polylines.
#include "render/render_p.h"

namespace QOR::render {

namespace {

/// The pattern generator is not part of the renderer yet: every hatch is drawn as a solid fill in the
/// fill colour, which is also what a rejected pattern gives.
bool hatchDrawable(const CQorArrayTempl<CQorVertexArray>&, const QOR::CHatchProp&, const CQorMatrix3d&) {
    return false;
}

} // namespace

void drawRegion(const Frame& frame, int item, const ItemStyle& style) {
    const CQorGDX& gdx = frame.gdx;
    const CQorMatrix3d& v = gdx.viewDirectionMtxGet();
    const CQorMatrix3d& m = gdx.mtxGet(item);
    const CQorMatrix3d d = style.base * v * m;

    CQorArrayTempl<CQorVertexArray> stored;
    gdx.geomGet(stored, item);
    DWORD flags = gdx.flagGet(item);

    if ((flags & (GdxItemFill | GdxItemHatch)) && stored.len() > 0) {
        CQorArrayTempl<CQorVertexArray> loops = stored;
        for (int i = 0; i < loops.len(); ++i)
            splitArcs(loops[i], d);
        if (flags & GdxItemHatch) {
            QOR::CHatchProp hatch;
            gdx.hatchGet(item, hatch);
            const CQorMatrix3d test = frame.window() ? m * v * style.base : m * style.base;
            if (!hatchDrawable(loops, hatch, test)) flags = (flags & ~GdxItemHatch) | GdxItemFill;
        }
        const COLORREF fill = fillColor(frame, item, style);
        if (flags & GdxItemFill) fillLoops(frame, loops, d, fill, !frame.window());
    }

    if (flags & GdxItemOutline) {
        CPen pen(PS_SOLID, gdx.thicknGet(item), style.color);
        CPen* oldPen = frame.dc.SelectObject(&pen);
        const CQorArrayTempl<double> dashes = itemDashes(gdx, item, frame.dotLength);
        const CQorMatrix3d bm = style.base * m;
        for (const CQorVertexArray& stored_loop : stored) {
            CQorVertexArray loop = stored_loop;
            loop.transformBy(v);
            drawStyledPolyline(frame, loop, dashes, bm, style.color);
        }
        if (oldPen) frame.dc.SelectObject(oldPen);
    }
}

} // namespace QOR::render
