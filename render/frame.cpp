// One frame: the list sorted once, the matrices built once, every visible item drawn in order; and the
// window's paint step around it (off-screen bitmap, back colour, copy to the window).
#include <algorithm>
#include <exception>
#include <optional>
#include <thread>

#include "qor/kernel/base/status.h"
#include "qor/kernel/locale/units.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/render/hatch_p.h"
#include "qor/render/polyline_prep.h"
#include "qor/render/render_p.h"

namespace QOR {

using render::Frame;
using render::ItemStyle;
using render::Lookups;

const CQorPatternDef& Lookups::pattern(const CQorString& name) {
    const auto found = m_patterns.find(name);
    if (found != m_patterns.end()) return found->second;
    static const CQorPatternDef kNone;
    if (m_sealed) return kNone;
    return m_patterns.emplace(name, detail::hatchPattern(name)).first->second;
}

CBitmap* Lookups::picture(const CQorString& name, int number, int width, int height, bool flag,
                          COLORREF back) {
    // Found without copying the name: a repaint finds every picture it drew before.
    const auto found = m_pictures.find(std::tie(name, number, width, height, flag, back));
    if (found != m_pictures.end()) return found->second.get();
    if (m_sealed) return nullptr;
    HBITMAP loaded = qor_gdx_image_get_bitmap(name, number, width, height, flag, back);
    return m_pictures.emplace(std::make_tuple(name, number, width, height, flag, back), std::move(loaded))
        .first->second.get();
}

namespace render {

namespace {

/// Should an item's drawing throw (the host's pattern look-up, memory running out), puts back what the
/// frame's dc held when drawItems began: the pen and brush the item selected are gone by then, and a hole
/// may have narrowed the clip.
class DcRestorer {
public:
    explicit DcRestorer(const Frame& frame) noexcept
        : m_frame(frame), m_pen(frame.dc.GetCurrentPen()), m_brush(frame.dc.GetCurrentBrush()),
          m_bk(frame.dc.GetBkColor()), m_text(frame.dc.GetTextColor()),
          m_exceptions(std::uncaught_exceptions()) {}
    DcRestorer(const DcRestorer&) = delete;
    DcRestorer& operator=(const DcRestorer&) = delete;
    ~DcRestorer() {
        if (std::uncaught_exceptions() <= m_exceptions) return;
        CDC& dc = m_frame.dc;
        if (m_pen) dc.SelectObject(m_pen);
        if (m_brush) dc.SelectObject(m_brush);
        if (m_bk != CLR_INVALID) dc.SetBkColor(m_bk);
        if (m_text != CLR_INVALID) dc.SetTextColor(m_text);
        if (m_frame.clientClip) dc.SelectClipRgn(const_cast<CRgn*>(m_frame.clientClip));
    }

private:
    const Frame& m_frame;
    CPen* m_pen;
    CBrush* m_brush;
    COLORREF m_bk;
    COLORREF m_text;
    int m_exceptions;
};

/// The pen of the items. A window's dc keeps one selected while the items after it draw with the same
/// width and colour; a metafile records each item's own pen, and the pen before it selected back after
/// the item.
class ItemPen {
public:
    ItemPen(CDC& dc, bool keep) noexcept : m_dc(dc), m_keep(keep) {}
    ItemPen(const ItemPen&) = delete;
    ItemPen& operator=(const ItemPen&) = delete;
    ~ItemPen() { putBack(); }

    void select(int width, COLORREF color) noexcept {
        if (m_selected && width == m_width && color == m_color) return;
        // The other of the two pens: the selected one stays valid until this one replaces it.
        CPen& pen = m_pens[m_selected ? 1 - m_current : m_current];
        pen.DeleteObject();
        CPen* replaced = pen.CreatePen(PS_SOLID, width, color) ? m_dc.SelectObject(&pen) : nullptr;
        if (!replaced) {
            putBack(); // an item whose pen cannot be had draws with the dc's own, as GDI would
            return;
        }
        if (!m_selected) m_before = replaced;
        m_current = int(&pen - m_pens);
        m_selected = true;
        m_width = width;
        m_color = color;
    }
    /// After each item.
    void itemDrawn() noexcept {
        if (!m_keep) putBack();
    }

private:
    void putBack() noexcept {
        if (m_selected && m_before) m_dc.SelectObject(m_before);
        m_selected = false;
    }

    CDC& m_dc;
    const bool m_keep;
    CPen m_pens[2];
    int m_current = 0;
    bool m_selected = false;
    int m_width = 0;
    COLORREF m_color = 0;
    CPen* m_before = nullptr; ///< the dc's pen before the first item's
};

/// Items between the one drawn and the one whose memory is asked for: enough for the memory to arrive.
constexpr int kAhead = 4;

/// Asks for the memory an item will be drawn from (the item and what the painter keeps of it), so that it
/// arrives while the items before it draw: a large list is read from main memory, and a wait for each
/// part of each item would cost more than the drawing.
void fetchAhead(const Frame& frame, int item) {
    const char* bytes = reinterpret_cast<const char*>(&frame.item(item));
    for (std::size_t at = 0; at < sizeof(CQorDisplayItem); at += 64)
        __builtin_prefetch(bytes + at);
    if (!frame.kept) return;
    const KeptItem& kept = (*frame.kept)[std::size_t(item)];
    if (const PreparedText* text = std::get_if<PreparedText>(&kept)) {
        __builtin_prefetch(text->glyphs.data());
        __builtin_prefetch(text->points.data());
        __builtin_prefetch(text->starts.data());
        __builtin_prefetch(text->loopEnds.data());
    } else if (const PreparedPolyline* polyline = std::get_if<PreparedPolyline>(&kept)) {
        __builtin_prefetch(polyline->path.flat.points.data());
        __builtin_prefetch(polyline->path.flat.runStarts.data());
        __builtin_prefetch(polyline->path.path.data());
    }
}

} // namespace

void drawItems(const Frame& frame, int first, int last) {
    CDC& dc = frame.dc;
    const CQorGDX& gdx = frame.gdx;
    const DcRestorer restorer(frame);
    ItemPen pen(dc, frame.window());
    const COLORREF oldBk = dc.GetBkColor();
    if (frame.window()) dc.SetBkColor(frame.back);
    for (int i = first; i < last; ++i) {
        if (i + kAhead < last) fetchAhead(frame, i + kAhead);
        if (gdx.flagGet(i) & GdxItemHidden) continue;
        ItemStyle style;
        style.base = baseMatrix(frame, i);
        if (!mayReachWindow(frame, i, style)) continue;
        style.color = itemColor(frame, i, style.mode);
        pen.select(gdx.thicknGet(i), style.color);
        switch (gdx.typeGet(i)) {
        case QorDisplayPt:
            drawPoint(frame, i, style);
            break;
        case QorDisplayVl:
            drawPolyline(frame, i, style);
            break;
        case QorDisplayReg:
            drawRegion(frame, i, style);
            break;
        case QorDisplayTxt:
            drawText(frame, i, style);
            break;
        case QorDisplayPicture:
            drawPicture(frame, i);
            break;
        default:
            break; // other kinds draw nothing
        }
        pen.itemDrawn();
    }
    if (frame.window()) dc.SetBkColor(oldBk);
}

} // namespace render

namespace {

/// Draws every item of gdx into dc: with up to `threads` threads when dc holds bitmap and the list is
/// large. False when the drawing failed (memory ran out, the host threw): what was drawn stays, and the
/// failure is kept for the caller's boundary to report. Called inside a guarded boundary only.
bool renderFrame(CQorGDX& gdx, CDC& dc, int width, int height, RenderTarget target, CBitmap* bitmap,
                 unsigned threads, render::FrameCache* cache) {
    // Only the frame's own failures count, not one the caller kept before.
    const detail::FailureScope scope;
    // A window is at least one pixel; a metafile is clipped to the sides it was given, so a side of 0
    // records no drawing.
    const int least = target == RenderTarget::Window ? 1 : 0;
    width = std::max(width, least);
    height = std::max(height, least);
    std::optional<render::FrameCache> own;
    if (!cache) cache = &own.emplace();
    CRgn& client = cache->client;
    client.DeleteObject(); // emptied: its storage serves this frame
    client.CreateRectRgn(0, 0, width, height);
    dc.SelectClipRgn(&client);
    if (gdx.lenGet() == 0) return true;
    gdx.displListSort();

    // The host is asked for the drawing unit once a frame.
    const int unit = int(acad_unit_get());
    Frame frame{dc,
                gdx,
                target,
                width,
                height,
                gdx.backColorGet().oleColor() & render::kInvertMask,
                render::sceneMatrix(gdx),
                render::fixedScaleMatrix(gdx, width, height),
                acadUnitCv(render::kDotLengthMm, Qor::kUnitMillimeter, unit),
                acadUnitCv(render::kMinSegmentMm, Qor::kUnitMillimeter, unit),
                acadUnitCv(detail::kPatternDotMm, Qor::kUnitMillimeter, unit),
                &client,
                cache->scratch,
                cache->lookups};
    if (cache->keepsItems && target == RenderTarget::Window) {
        const render::FramePreparation preparation{gdx.viewDirectionMtxGet(), frame.dotLength,
                                                   frame.patternDot};
        if (!preparation.sameAs(cache->keptFor)) {
            cache->kept.clear();
            cache->keptFor = preparation;
        }
        cache->kept.resize(std::size_t(gdx.lenGet()));
        frame.kept = &cache->kept;
    }
    if (!(bitmap && frame.window() && render::drawInParts(frame, *bitmap, threads, cache)))
        render::drawItems(frame, 0, gdx.lenGet());
    return scope.status() == detail::Status::Ok;
}

} // namespace

bool renderItems(CQorGDX& gdx, CDC& dc, int width, int height, RenderTarget target) noexcept {
    return detail::guardedAt("renderItems", false, [&] {
        return renderFrame(gdx, dc, width, height, target, nullptr, 1, nullptr);
    });
}

bool render::drawFrame(CQorGDX& gdx, CDC& dc, int width, int height, RenderTarget target) {
    return renderFrame(gdx, dc, width, height, target, nullptr, 1, nullptr);
}

bool render::paintBitmap(CQorGDX& gdx, CDC& dc, int width, int height, unsigned threads, FrameCache* cache) {
    dc.SelectStockObject(NULL_PEN);
    dc.FillSolidRect(0, 0, width, height, gdx.backColorGet().oleColor() & render::kInvertMask);
    return renderFrame(gdx, dc, width, height, RenderTarget::Window, dc.GetCurrentBitmap(), threads, cache);
}

namespace {

bool paintWindowImpl(CQorGDX* gdx, CDC& paintDC, int width, int height) {
    if (!gdx || width < 1 || height < 1) return false;
    CRasterDC memory;
    CBitmap bitmap;
    if (!memory.CreateCompatibleDC(&paintDC) || !bitmap.CreateCompatibleBitmap(&paintDC, width, height))
        return false;
    CBitmap* oldBitmap = memory.SelectObject(&bitmap);
    if (!memory.GetCurrentBitmap()) return false;
    // A picture only part drawn is never shown.
    const bool painted =
        render::paintBitmap(*gdx, memory, width, height, std::thread::hardware_concurrency(), nullptr);
    const BOOL copied = painted && paintDC.BitBlt(0, 0, width, height, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(oldBitmap);
    return copied != FALSE;
}

bool paintToBitmapImpl(CQorGDX* gdx, CBitmap& bitmap, int width, int height, unsigned threads) {
    if (!gdx || width < 1 || height < 1) return false;
    bitmap.DeleteObject();
    CRasterDC dc;
    if (!bitmap.CreateBitmap(width, height, 1, 32, nullptr) || !dc.CreateCompatibleDC(nullptr)) {
        bitmap.DeleteObject();
        return false;
    }
    // The bitmap is off-screen already: drawn straight into, without a second one to copy from.
    CBitmap* old = dc.SelectObject(&bitmap);
    bool painted = dc.GetCurrentBitmap() != nullptr;
    if (painted) painted = render::paintBitmap(*gdx, dc, width, height, threads, nullptr);
    dc.SelectObject(old);
    if (!painted) bitmap.DeleteObject();
    return painted;
}

} // namespace

bool paintWindow(CQorGDX* gdx, CDC& paintDC, int width, int height) noexcept {
    return detail::guardedAt("paintWindow", false,
                             [&] { return paintWindowImpl(gdx, paintDC, width, height); });
}

bool render::paintToBitmap(CQorGDX* gdx, CBitmap& bitmap, int width, int height, unsigned threads) noexcept {
    bool threw = true;
    const bool painted = detail::guardedAt("paintToBitmap", false, [&] {
        const bool done = paintToBitmapImpl(gdx, bitmap, width, height, threads);
        threw = false;
        return done;
    });
    if (threw) bitmap.DeleteObject(); // never a picture only part drawn
    return painted;
}

bool paintToBitmap(CQorGDX* gdx, CBitmap& bitmap, int width, int height) noexcept {
    return render::paintToBitmap(gdx, bitmap, width, height, std::thread::hardware_concurrency());
}

} // namespace QOR
