// Region items: solid fill (or hatch), then the outline drawn as polylines.
#include "qor/kernel/base/status.h"
#include "qor/render/hatch_p.h"
#include "qor/render/polyline_prep.h"
#include "qor/render/render_p.h"

namespace QOR::render {

namespace {

/// Draws hatch lines with a one-pixel pen in the fill colour. Dashes shorter than the minimum segment
/// become one pixel, except on continuous lines (and "DOTS", whose dots are the point).
void drawHatchLines(const Frame& frame, const CQorArrayTempl<CQorVertexArray>& lines,
                    const QOR::CHatchProp& hatch, const CQorMatrix3d& d, COLORREF color) {
    CPen pen(PS_SOLID, 1, color);
    CPen* oldPen = frame.dc.SelectObject(&pen);
    const bool dots = CQorString::compare(hatch.m_name, L"DOTS") == 0;
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

/// The hatch lines of the loops. Empty when they could not be made (the failure is kept for the frame);
/// made tells which.
CQorArrayTempl<CQorVertexArray> makeHatch(const Frame& frame, const CQorArrayTempl<CQorVertexArray>& loops,
                                          const QOR::CHatchProp& hatch, bool& made) {
    const CQorPatternDef& def = frame.lookups.pattern(hatch.m_name);
    CQorArrayTempl<CQorVertexArray> lines;
    made = detail::guarded(false, [&] {
        lines = detail::hatchLines(loops, CQorMatrix3d::kIdentity, hatch, def, frame.patternDot);
        return true;
    });
    return lines;
}

/// Sets loops to the item's loops with their arcs in chords (qor_gdx_image_reg_split).
void splitLoops(const CQorArrayTempl<CQorVertexArray>& stored, CQorArrayTempl<CQorVertexArray>& loops) {
    loops.setLogicalLength(stored.len());
    for (int i = 0; i < stored.len(); ++i)
        detail::vlSplit(stored[i], loops[i]);
}

void prepare(PreparedRegion& kept, const CQorDisplayItem& item) {
    kept.made = false; // until the loops below are whole
    kept.stamp = item.m_stamp;
    splitLoops(item.m_regions, kept.loops);
    kept.hatch.clear();
    kept.hatchMade = false;
    kept.outlines.clear();
    kept.outlinesMade = false;
    kept.bounds = ModelBox();
    for (const CQorVertexArray& loop : item.m_regions)
        kept.bounds.add(loop);
    kept.made = true;
}

/// Each loop of the item after the view direction with its line type laid, into outlines.
void makeOutlines(const Frame& frame, int item, std::vector<KeptPath>& outlines) {
    Scratch& scratch = frame.scratch;
    itemDashes(frame.gdx, item, frame.dotLength, scratch.dashes);
    const CQorArrayTempl<CQorVertexArray>& stored = frame.item(item).m_regions;
    outlines.resize(std::size_t(stored.len()));
    for (int i = 0; i < stored.len(); ++i) {
        scratch.vl = stored[i];
        scratch.vl.transformBy(frame.gdx.viewDirectionMtxGet());
        bool continuous = false;
        const CQorVertexArray& styled = styledPath(frame, scratch.vl, scratch.dashes, continuous);
        outlines[std::size_t(i)].assign(styled, continuous);
    }
}

} // namespace

PreparedRegion* keptRegion(const Frame& frame, int item) {
    PreparedRegion* kept = frame.keptAs<PreparedRegion>(item);
    if (!kept) return nullptr;
    if (!madeFrom(*kept, frame.item(item))) prepare(*kept, frame.item(item));
    return kept;
}

void drawRegion(const Frame& frame, int item, const ItemStyle& style) {
    const CQorGDX& gdx = frame.gdx;
    const CQorMatrix3d& v = gdx.viewDirectionMtxGet();
    const CQorMatrix3d& m = gdx.mtxGet(item);
    const CQorMatrix3d d = style.base * v * m;
    PreparedRegion* kept = keptRegion(frame, item);

    const CQorArrayTempl<CQorVertexArray>& stored = frame.item(item).m_regions;
    DWORD flags = gdx.flagGet(item);

    if ((flags & (GdxItemFill | GdxItemHatch)) && stored.len() > 0) {
        // The loops with their arcs in chords: kept, or in arrays kept for the next region.
        if (!kept) splitLoops(stored, frame.scratch.regionLoops);
        const CQorArrayTempl<CQorVertexArray>& loops = kept ? kept->loops : frame.scratch.regionLoops;
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
        if ((flags & GdxItemHatch) && !(frame.window() && (flags & GdxItemFill))) {
            if (kept) {
                if (!kept->hatchMade) kept->hatch = makeHatch(frame, loops, hatch, kept->hatchMade);
                drawHatchLines(frame, kept->hatch, hatch, d, fill);
            } else {
                bool made = false;
                drawHatchLines(frame, makeHatch(frame, loops, hatch, made), hatch, d, fill);
            }
        }
    }

    if (flags & GdxItemOutline) {
        CPen pen(PS_SOLID, gdx.thicknGet(item), style.color);
        CPen* oldPen = frame.dc.SelectObject(&pen);
        const CQorMatrix3d bm = style.base * m;
        if (kept) {
            if (!kept->outlinesMade) {
                makeOutlines(frame, item, kept->outlines);
                kept->outlinesMade = true;
            }
            for (const KeptPath& outline : kept->outlines)
                tracePath(frame, outline, bm, style.color, false);
        } else {
            Scratch& scratch = frame.scratch;
            itemDashes(gdx, item, frame.dotLength, scratch.dashes);
            for (const CQorVertexArray& loop : stored) {
                scratch.vl = loop;
                scratch.vl.transformBy(v);
                drawStyledPolyline(frame, scratch.vl, scratch.dashes, bm, style.color);
            }
        }
        if (oldPen) frame.dc.SelectObject(oldPen);
    }
}

} // namespace QOR::render
