// Region items: solid fill (or hatch), then the outline drawn as polylines.
#include "render/hatch.h"
#include "render/render_p.h"

namespace QOR::render {

namespace {

/// Draws the hatch lines of the region with a one-pixel pen in the fill colour. Dashes shorter than the
/// minimum segment become one pixel, except on continuous lines (and "DOTS", whose dots are the point).
void drawHatch(const Frame& frame, const CQorArrayTempl<CQorVertexArray>& loops, const QOR::CHatchProp& hatch,
               const CQorMatrix3d& d, COLORREF color) {
    CPen pen(PS_SOLID, 1, color);
    CPen* oldPen = frame.dc.SelectObject(&pen);
    const bool dots = CQorString::compare(hatch.m_name, L"DOTS") == 0;
    const CQorArrayTempl<CQorVertexArray> lines =
        qor_gdx_image_reg_hatch2(loops, CQorMatrix3d::kIdentity, hatch);
    std::vector<POINT> points;
    for (const CQorVertexArray& line : lines) {
        const bool keepShort = !dots && (line.isContinuous() || (!frame.window() && line.isClosed()));
        for (const CQorVertex& vx : line) {
            if (!keepShort && vx.end.distanceTo(vx.start) < frame.minSegment) {
                drawPixel(frame, devicePoint(vx.start * d), color);
                continue;
            }
            segmentPoints(vx, d, points);
            drawPoints(frame.dc, points);
        }
    }
    if (oldPen) frame.dc.SelectObject(oldPen);
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
        QOR::CHatchProp hatch;
        if (flags & GdxItemHatch) {
            gdx.hatchGet(item, hatch);
            const CQorMatrix3d test = frame.window() ? m * v * style.base : m * style.base;
            if (!qor_gdx_pattern_test(loops, hatch, test)) flags = (flags & ~GdxItemHatch) | GdxItemFill;
        }
        const COLORREF fill = fillColor(frame, item, style);
        if (flags & GdxItemFill) fillLoops(frame, loops, d, fill, !frame.window());
        // The window shows either the fill or the hatch; a metafile carries both when both are asked for.
        if ((flags & GdxItemHatch) && !(frame.window() && (flags & GdxItemFill)))
            drawHatch(frame, loops, hatch, d, fill);
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
