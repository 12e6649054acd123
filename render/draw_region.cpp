// Region items: solid fill (or hatch), then the outline drawn as polylines.
#include "qor/kernel/base/status.h"
#include "qor/render/hatch_p.h"
#include "qor/render/polyline_prep.h"
#include "qor/render/render_p.h"

namespace QOR::render {

namespace {

/// Draws the hatch lines of the region with a one-pixel pen in the fill colour. Dashes shorter than the
/// minimum segment become one pixel, except on continuous lines (and "DOTS", whose dots are the point).
void drawHatch(const Frame& frame, const CQorArrayTempl<CQorVertexArray>& loops, const QOR::CHatchProp& hatch,
               const CQorMatrix3d& d, COLORREF color) {
    CPen pen(PS_SOLID, 1, color);
    CPen* oldPen = frame.dc.SelectObject(&pen);
    const bool dots = CQorString::compare(hatch.m_name, L"DOTS") == 0;
    const CQorPatternDef& def = frame.lookups.pattern(hatch.m_name);
    const CQorArrayTempl<CQorVertexArray> lines = detail::guarded(CQorArrayTempl<CQorVertexArray>(), [&] {
        return detail::hatchLines(loops, CQorMatrix3d::kIdentity, hatch, def, frame.patternDot);
    });
    LineRuns runs(frame.dc, frame.scratch.points);
    for (const CQorVertexArray& line : lines) {
        const bool keepShort = !dots && (line.isContinuous() || (!frame.window() && line.isClosed()));
        for (const CQorVertex& vx : line) {
            if (!keepShort && vx.end.distanceTo(vx.start) < frame.minSegment) {
                runs.flush();
                drawPixel(frame, devicePoint(vx.start * d), color);
                continue;
            }
            runs.add(vx, d);
        }
    }
    runs.flush();
    if (oldPen) frame.dc.SelectObject(oldPen);
}

} // namespace

void drawRegion(const Frame& frame, int item, const ItemStyle& style) {
    const CQorGDX& gdx = frame.gdx;
    const CQorMatrix3d& v = gdx.viewDirectionMtxGet();
    const CQorMatrix3d& m = gdx.mtxGet(item);
    const CQorMatrix3d d = style.base * v * m;

    const CQorArrayTempl<CQorVertexArray>& stored = frame.item(item).m_regions;
    DWORD flags = gdx.flagGet(item);

    if ((flags & (GdxItemFill | GdxItemHatch)) && stored.len() > 0) {
        // The loops with their arcs in chords (qor_gdx_image_reg_split), in arrays kept for the next region.
        CQorArrayTempl<CQorVertexArray>& loops = frame.scratch.regionLoops;
        loops.setLogicalLength(stored.len());
        for (int i = 0; i < stored.len(); ++i)
            detail::vlSplit(stored[i], loops[i]);
        const QOR::CHatchProp& hatch = frame.item(item).m_hatch;
        if (flags & GdxItemHatch) {
            const CQorMatrix3d test = frame.window() ? m * v * style.base : m * style.base;
            const CQorPatternDef& def = frame.lookups.pattern(hatch.m_name);
            if (!detail::guarded(false, [&] {
                    return detail::patternTest(loops[0], def, hatch.m_scale, test, frame.scratch.patternTest);
                }))
                flags = (flags & ~GdxItemHatch) | GdxItemFill;
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
        Scratch& scratch = frame.scratch;
        itemDashes(gdx, item, frame.dotLength, scratch.dashes);
        const CQorMatrix3d bm = style.base * m;
        for (const CQorVertexArray& loop : stored) {
            scratch.vl = loop;
            scratch.vl.transformBy(v);
            drawStyledPolyline(frame, scratch.vl, scratch.dashes, bm, style.color);
        }
        if (oldPen) frame.dc.SelectObject(oldPen);
    }
}

} // namespace QOR::render
