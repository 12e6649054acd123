// Text items: the adders, setters and getters, the layout of the stroke font and the host's strokes.
#include <algorithm>
#include <cmath>

#include "qor/gdx/gdx_p.h"
#include "qor/gdx/stroke_font.h"
#include "qor/gdx/text_p.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/geom/polyline_clip.h"
#include "qor/kernel/host/host_app.h"

using QOR::detail::guarded;

namespace QOR::detail {

namespace {

/// Advance after a character's ink, in cap heights: the glyphs carry no advance widths of their own, so
/// every gap is this plus the next glyph's left side bearing.
constexpr double kLetterGap = 0.5;
/// Taken off the sum of advances to get the width of a line for alignment: the width is then the glyphs'
/// ink and the gaps between them, plus 0.2.
constexpr double kWidthCorrection = 0.3;

/// The shift an alignment code asks for, given the text's top H and width W. Codes are compared
/// exactly; anything else (including "BL" and "") means bottom-left: no shift.
CQorVector3d alignShift(const CQorString& align, double H, double W) {
    struct Code {
        const wchar_t* name;
        double wx, hy; // shift = (wx * W, hy * H)
    };
    static constexpr Code kCodes[] = {{L"TL", 0, -1},   {L"TC", -0.5, -1},   {L"TR", -1, -1},
                                      {L"CL", 0, -0.5}, {L"CC", -0.5, -0.5}, {L"CR", -1, -0.5},
                                      {L"BC", -0.5, 0}, {L"BR", -1, 0}};
    for (const Code& c : kCodes)
        if (align == c.name) return {c.wx == 0 ? 0.0 : c.wx * W, c.hy == 0 ? 0.0 : c.hy * H, 0.0};
    return {};
}

} // namespace

void layoutText(const CQorString& text, const CQorString& align, const CQorPoint3d& point,
                CQorStrokeGroups& out) {
    CQorStrokeGroups result;
    double cursor = 0.0;
    double H = 0.0;
    for (wchar_t ch : text.view()) {
        CQorStrokeGroups glyph = get_ascii_from_map(ch);
        if (glyph.isEmpty()) continue; // no glyph (the space among others): no room either
        const CQorVector3d place(point.x + cursor, point.y, point.z);
        bool boxed = false;
        CQorPoint3d lo, hi;
        for (CQorArrayTempl<CQorVertexArray>& group : glyph) {
            for (CQorVertexArray& loop : group) {
                if (loop.isClosed() && !g_vl_orient(loop, CQorVector3d::kZAxis)) loop.revert();
                loop.move(place);
            }
            CQorPoint3d gLo, gHi;
            if (!group.isEmpty() && group.data()[0].extents(gLo, gHi)) {
                if (!boxed) {
                    lo = gLo;
                    hi = gHi;
                    boxed = true;
                } else {
                    lo = {std::min(lo.x, gLo.x), std::min(lo.y, gLo.y), std::min(lo.z, gLo.z)};
                    hi = {std::max(hi.x, gHi.x), std::max(hi.y, gHi.y), std::max(hi.z, gHi.z)};
                }
            }
            result.append(std::move(group));
        }
        if (!boxed) continue;
        cursor += std::fabs(lo.x - hi.x) + kLetterGap;
        H = std::max(H, hi.y);
    }
    const double W = cursor - kWidthCorrection;
    const CQorVector3d shift = alignShift(align, H, W);
    if (shift.x != 0.0 || shift.y != 0.0)
        for (CQorArrayTempl<CQorVertexArray>& group : result)
            for (CQorVertexArray& loop : group)
                loop.move(shift);
    out = std::move(result);
}

} // namespace QOR::detail

// --- Adders.

void CQorGDX::imageTxt(const Path& path, DWORD flags, const wchar_t* text, const CQorColor& color,
                       const CQorMatrix3d& mtx, const wchar_t* align, const CQorPoint3d& pos,
                       const CQorPoint3d& anchor) noexcept {
    QOR::detail::guardedAt("CQorGDX::imageTxt", false, [&] {
        CQorDisplayItem item = QOR::detail::newItem(QorDisplayTxt, path, flags, color, mtx);
        item.m_point = pos;
        item.m_text = text;
        item.m_align = align;
        item.m_linetype = {1.0, 0.0, 0.0};
        item.m_ltscale = 0.0;
        item.m_thickness = 0;
        QOR::detail::anchorByVertex(item, anchor);
        QOR::detail::layoutText(item.m_text, item.m_align, item.m_point, item.m_strokes);
        appendItem(std::move(item));
        return true;
    });
}

bool CQorGDX::imageTxt(const Path& path, DWORD flags, const CQorDataItem* data, const CQorColor& color,
                       const CQorMatrix3d& mtx, double height, const CQorPoint3d& anchor) noexcept {
    if (!data || !data->isDir()) return false;
    return QOR::detail::guardedAt("CQorGDX::imageTxt", false, [&] {
        CQorDisplayItem item = QOR::detail::newItem(QorDisplayTxt, path, flags, color, mtx);
        if (!qor_text_to_regl(data, item.m_strokes, height)) return false;
        item.m_thickness = 0;
        QOR::detail::anchorByVertex(item, anchor);
        // The host's strokes are final: the item keeps no text to lay out again.
        appendItem(std::move(item));
        return true;
    });
}

// --- Setters and getters.

void CQorGDX::txtReglUpd(int item) {
    if (item < 0 || item >= m_list.len()) return;
    CQorDisplayItem& it = changeItems().data()[item];
    QOR::detail::stamp(it);
    guarded(false, [&] {
        QOR::detail::layoutText(it.m_text, it.m_align, it.m_point, it.m_strokes);
        return true;
    });
}

template <class F>
void CQorGDX::changeText(const Path& path, F&& change) {
    const int n = m_list.len();
    bool any = false;
    for (int i = 0; i < n; ++i) {
        if (!QOR::detail::isUnder(m_list.data()[i].m_stack, path)) continue;
        change(changeItems().data()[i]);
        txtReglUpd(i);
        any = true;
    }
    if (any) refresh_ext();
}

bool CQorGDX::txtSet(const Path& path, const wchar_t* text) {
    if (!text) return false;
    return guarded(false, [&] {
        const CQorString value(text);
        changeText(path, [&](CQorDisplayItem& it) { it.m_text = value; });
        return true;
    });
}

bool CQorGDX::txtAlignSet(const Path& path, const wchar_t* align) {
    if (!align) return false;
    return guarded(false, [&] {
        const CQorString value(align);
        changeText(path, [&](CQorDisplayItem& it) { it.m_align = value; });
        return true;
    });
}

void CQorGDX::txtPointSet(const Path& path, CQorPoint3d pos) {
    guarded(false, [&] {
        changeText(path, [&](CQorDisplayItem& it) { it.m_point = pos; });
        return true;
    });
}

const wchar_t* CQorGDX::txtGet(int item) const {
    return std::as_const(m_list)[item].m_text.c_str();
}

const wchar_t* CQorGDX::txtAlignGet(int item) const {
    return std::as_const(m_list)[item].m_align.c_str();
}

CQorPoint3d CQorGDX::txtPointGet(int item) const {
    return std::as_const(m_list)[item].m_point;
}

// --- Strokes from the host.

bool qor_text_to_regl(const CQorDataItem* data, CQorStrokeGroups& out, double height) {
    if (!data) return false;
    return guarded(false, [&] {
        QOR::CUniqResbuf args(QOR::rbToList(data->mkLisp()));
        resbuf* h = QOR::mkResbuf(RTREAL, height);
        if (!args || !h) {
            qorRelRb(h);
            return false;
        }
        args.append(h);
        out.clear();
        QOR::CUniqResbuf result;
        const int status = QOR::qorAppPtr()->callFunction(L"qor_text_to_regl", args.get(), result.out());
        if (status == RTNORM && result && (result->restype == RTLB || result->restype == RTNIL))
            QOR::fromRb(out, result.get(), 0);
        return !out.isEmpty();
    });
}
