// Text items: glyph outlines filled (holes clipped out) and then traced with a one-pixel pen.
#include <algorithm>

#include "kernel/arc_math.h"
#include "kernel/polyline_ops.h"
#include "render/render_p.h"

namespace QOR::render {

namespace {

/// Deviation, in model units, of the chords that replace the arcs of glyph outlines in the window.
constexpr double kGlyphDeviation = 0.1;

CQorVertexArray exploded(const CQorVertexArray& loop) {
    CQorVertexArray out;
    for (const CQorVertex& vx : loop) {
        if (!vx.isArc()) {
            out.append(vx);
            continue;
        }
        for (const CQorVertex& chord : g_vl_expl(vx, vx_split_dif(vx, kGlyphDeviation)))
            out.append(chord);
    }
    return out;
}

} // namespace

void drawText(const Frame& frame, int item, const ItemStyle& style) {
    CDC& dc = frame.dc;
    const CQorMatrix3d d = style.base * frame.gdx.viewDirectionMtxGet() * frame.gdx.mtxGet(item);
    std::vector<POINT>& points = frame.scratch.points;
    CQorArrayTempl<CQorVertexArray> chords;
    for (const CQorArrayTempl<CQorVertexArray>& stored : frame.item(item).m_strokes) {
        if (stored.len() == 0) continue;
        // The built-in font is straight already; only glyphs with arcs need exploding.
        const bool explode = frame.window() && std::any_of(stored.begin(), stored.end(),
                                                           [](const auto& loop) { return loop.hasArcs(); });
        if (explode) {
            chords.setLogicalLength(stored.len());
            for (int i = 0; i < stored.len(); ++i)
                chords[i] = exploded(stored[i]);
        }
        const CQorArrayTempl<CQorVertexArray>& glyph = explode ? chords : stored;
        if (glyph[0].isClosed()) fillLoops(frame, glyph, d, style.color, false);
        CPen pen(PS_SOLID, 1, style.color);
        CPen* oldPen = dc.SelectObject(&pen);
        for (const CQorVertexArray& loop : glyph)
            for (const CQorVertex& vx : loop) {
                segmentPoints(vx, d, points);
                drawPoints(dc, points);
            }
        if (oldPen) dc.SelectObject(oldPen);
    }
}

} // namespace QOR::render
