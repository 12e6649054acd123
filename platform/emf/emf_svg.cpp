#include "qor/platform/emf/emf_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

#include "qor/platform/dib_p.h"
#include "qor/platform/emf/emf_records_p.h"
#include "qor/platform/emf/svg_text_p.h"
#include "qor/platform/file_io_p.h"
#include "qor/platform/gdi_consts.h"
#include "qor/platform/le_bytes_p.h"
#include "qor/platform/png_codec.h"

namespace {

using QOR::detail::ByteReader;
using QOR::detail::Status;
using QOR::detail::Surface;
using QOR::detail::svg::appendBase64;
using QOR::detail::svg::appendColor;
using QOR::detail::svg::appendInt;
using QOR::detail::svg::appendNumber;
namespace emf = QOR::detail::emf;

// Pen styles below PS_NULL that draw dashes, and the brush style whose colour is its hatch colour.
constexpr std::uint32_t kPsDash = 1, kPsDot = 2, kPsDashDot = 3, kPsDashDotDot = 4;
constexpr std::uint32_t kBsHatched = 2;
constexpr DWORD kPatCopy = 0x00F00021;

struct Pen {
    bool null = false;
    std::uint32_t style = 0; // PS_SOLID .. PS_DASHDOTDOT
    int widthPx = 1;         // at least one pixel: width 0 is GDI's one-pixel pen
    COLORREF color = 0;
};

struct Brush {
    bool null = false;
    COLORREF color = RGB(255, 255, 255);
};

struct Object {
    enum Kind { None, PenKind, BrushKind } kind = None;
    Pen pen;
    Brush brush;
};

/// What SaveDC keeps. clip: the union of these rectangles; none while nothing clips.
struct State {
    Pen pen;
    Brush brush;
    int fillMode = ALTERNATE;
    std::optional<std::vector<RECT>> clip;
    POINT pos{0, 0};
};

RECT readRect(const ByteReader& r, std::uint64_t at) {
    std::int32_t v[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i)
        r.i32(at + 4 * std::uint64_t(i), v[i]);
    return RECT{v[0], v[1], v[2], v[3]};
}

RECT intersect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

bool isEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

class SvgWriter {
public:
    SvgWriter(std::string& out, int handles) : m_out(out) { m_objects.resize(std::size_t(handles)); }

    /// Writes the records after the header; true when the end record was reached.
    bool run(const ByteReader& all, std::uint32_t start, std::uint32_t total) {
        for (std::uint64_t at = start; at + 8 <= total;) {
            std::uint32_t type = 0, size = 0;
            all.u32(at, type);
            all.u32(at + 4, size);
            if (size < 8 || size % 4 != 0 || size > total - at) return false;
            if (type != emf::kMoveToEx && type != emf::kLineTo) flushLine();
            if (type == emf::kEof) {
                closeClipGroup();
                return true;
            }
            write(type, ByteReader(all.sub(at, size)));
            at += size;
        }
        return false;
    }

private:
    void write(std::uint32_t type, const ByteReader& r);
    void writePolys(std::uint32_t type, const ByteReader& r);
    void writeBitmap(const ByteReader& r, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                     std::uint32_t cbBits, RECT src, RECT dst, DWORD rop);
    void lineTo(POINT to);
    void flushLine();
    bool readRegion(const ByteReader& r, std::uint64_t at, std::uint64_t bytes);
    void setClip(std::optional<std::vector<RECT>> clip);
    void beginShape();
    void closeClipGroup();
    void fillRects(std::span<const RECT> rects, COLORREF color);

    void stroke() {
        const Pen& p = m_state.pen;
        if (p.null) {
            m_out += " stroke=\"none\"";
            return;
        }
        m_out += " stroke=\"";
        appendColor(m_out, p.color);
        m_out += '"';
        if (p.widthPx != 1) {
            m_out += " stroke-width=\"";
            appendInt(m_out, p.widthPx);
            m_out += '"';
        }
        // Dash lengths in pen widths, the proportions of GDI's styled cosmetic pens.
        static constexpr int kDash[] = {18, 6}, kDot[] = {3, 3}, kDashDot[] = {9, 6, 3, 6},
                             kDashDotDot[] = {9, 3, 3, 3, 3, 3};
        std::span<const int> dashes;
        switch (p.style) {
        case kPsDash:
            dashes = kDash;
            break;
        case kPsDot:
            dashes = kDot;
            break;
        case kPsDashDot:
            dashes = kDashDot;
            break;
        case kPsDashDotDot:
            dashes = kDashDotDot;
            break;
        default:
            return;
        }
        m_out += " stroke-linecap=\"butt\" stroke-dasharray=\"";
        for (std::size_t i = 0; i < dashes.size(); ++i) {
            if (i) m_out += ' ';
            appendInt(m_out, std::int64_t(dashes[i]) * p.widthPx);
        }
        m_out += '"';
    }
    void fill() {
        if (m_state.brush.null) {
            m_out += " fill=\"none\"";
            return;
        }
        m_out += " fill=\"";
        appendColor(m_out, m_state.brush.color);
        m_out += m_state.fillMode == WINDING ? "\" fill-rule=\"nonzero\"" : "\" fill-rule=\"evenodd\"";
    }
    /// A point through the pixel's centre.
    static void point(std::string& out, POINT p, char sep) {
        appendNumber(out, p.x + 0.5);
        out += sep;
        appendNumber(out, p.y + 0.5);
    }
    const Object* object(std::uint32_t handle) const {
        if (handle & emf::kStockObjectFlag) return stock(handle & ~emf::kStockObjectFlag);
        return handle < m_objects.size() ? &m_objects[handle] : nullptr;
    }
    static const Object* stock(std::uint32_t index) {
        static const Object kStock[] = {
            {Object::BrushKind, {}, {false, RGB(255, 255, 255)}},
            {Object::BrushKind, {}, {false, RGB(192, 192, 192)}},
            {Object::BrushKind, {}, {false, RGB(128, 128, 128)}},
            {Object::BrushKind, {}, {false, RGB(64, 64, 64)}},
            {Object::BrushKind, {}, {false, RGB(0, 0, 0)}},
            {Object::BrushKind, {}, {true, 0}},
            {Object::PenKind, {false, 0, 1, RGB(255, 255, 255)}, {}},
            {Object::PenKind, {false, 0, 1, 0}, {}},
            {Object::PenKind, {true, 0, 1, 0}, {}},
        };
        return index < std::size(kStock) ? &kStock[index] : nullptr;
    }
    Object* slot(std::uint32_t handle) {
        return handle > 0 && handle < m_objects.size() ? &m_objects[handle] : nullptr;
    }

    std::string& m_out;
    std::vector<Object> m_objects;
    State m_state;
    std::vector<State> m_saved;
    bool m_clipDirty = false;
    bool m_clipGroupOpen = false;
    int m_clipIds = 0;
    // The open run of MoveToEx/LineTo segments, written as one path when something else comes.
    std::string m_line;
    POINT m_lineEnd{0, 0};
    std::vector<RECT> m_rects;
};

void SvgWriter::closeClipGroup() {
    if (m_clipGroupOpen) m_out += "</g>\n";
    m_clipGroupOpen = false;
}

void SvgWriter::setClip(std::optional<std::vector<RECT>> clip) {
    m_state.clip = std::move(clip);
    m_clipDirty = true;
}

/// Opens the group of the current clip before the next shape, when the clip changed since the last one.
void SvgWriter::beginShape() {
    if (!m_clipDirty) return;
    m_clipDirty = false;
    closeClipGroup();
    if (!m_state.clip) return;
    const int id = ++m_clipIds;
    m_out += "<clipPath id=\"c";
    appendInt(m_out, id);
    m_out += "\">";
    for (const RECT& rc : *m_state.clip) {
        m_out += "<rect x=\"";
        appendInt(m_out, rc.left);
        m_out += "\" y=\"";
        appendInt(m_out, rc.top);
        m_out += "\" width=\"";
        appendInt(m_out, std::int64_t(rc.right) - rc.left);
        m_out += "\" height=\"";
        appendInt(m_out, std::int64_t(rc.bottom) - rc.top);
        m_out += "\"/>";
    }
    m_out += "</clipPath>\n<g clip-path=\"url(#c";
    appendInt(m_out, id);
    m_out += ")\">\n";
    m_clipGroupOpen = true;
}

void SvgWriter::lineTo(POINT to) {
    if (m_state.pen.null) {
        m_state.pos = to;
        return;
    }
    if (m_line.empty() || m_lineEnd.x != m_state.pos.x || m_lineEnd.y != m_state.pos.y) {
        m_line += m_line.empty() ? "M" : " M";
        point(m_line, m_state.pos, ' ');
    }
    m_line += " L";
    point(m_line, to, ' ');
    m_lineEnd = to;
    m_state.pos = to;
}

void SvgWriter::flushLine() {
    if (m_line.empty()) return;
    beginShape();
    m_out += "<path fill=\"none\"";
    stroke();
    m_out += " d=\"";
    m_out += m_line;
    m_out += "\"/>\n";
    m_line.clear();
}

bool SvgWriter::readRegion(const ByteReader& r, std::uint64_t at, std::uint64_t bytes) {
    std::uint32_t headerBytes = 0, kind = 0, count = 0;
    if (bytes < emf::kRgnHeaderBytes || !r.u32(at, headerBytes) || !r.u32(at + 4, kind) ||
        !r.u32(at + 8, count))
        return false;
    if (kind != emf::kRgnRectangles || headerBytes < emf::kRgnHeaderBytes || headerBytes > bytes)
        return false;
    if (std::uint64_t(count) * 16 > bytes - headerBytes || !r.has(at, bytes)) return false;
    m_rects.clear();
    for (std::uint32_t i = 0; i < count; ++i) {
        const RECT rc = readRect(r, at + headerBytes + 16 * std::uint64_t(i));
        if (!isEmpty(rc)) m_rects.push_back(rc);
    }
    return true;
}

void SvgWriter::fillRects(std::span<const RECT> rects, COLORREF color) {
    if (rects.empty()) return;
    beginShape();
    m_out += "<path stroke=\"none\" fill=\"";
    appendColor(m_out, color);
    m_out += "\" d=\"";
    for (const RECT& rc : rects) {
        m_out += 'M';
        appendInt(m_out, rc.left);
        m_out += ' ';
        appendInt(m_out, rc.top);
        m_out += 'H';
        appendInt(m_out, rc.right);
        m_out += 'V';
        appendInt(m_out, rc.bottom);
        m_out += 'H';
        appendInt(m_out, rc.left);
        m_out += 'Z';
    }
    m_out += "\"/>\n";
}

void SvgWriter::writePolys(std::uint32_t type, const ByteReader& r) {
    emf::PolyRecord poly;
    if (!poly.read(type, r) || poly.pointCount() == 0 ||
        (m_state.pen.null && (poly.isPolyline() || m_state.brush.null)))
        return;
    beginShape();
    if (!poly.isMulti()) {
        m_out += poly.isPolyline() ? "<polyline fill=\"none\"" : "<polygon";
        if (!poly.isPolyline()) fill();
        stroke();
        m_out += " points=\"";
        for (std::uint32_t i = 0; i < poly.pointCount(); ++i) {
            if (i) m_out += ' ';
            point(m_out, poly.point(i), ',');
        }
        m_out += "\"/>\n";
        return;
    }
    // One path for all the polygons, so that the fill rule makes holes of the inner ones.
    m_out += "<path";
    fill();
    stroke();
    m_out += " d=\"";
    std::uint32_t next = 0;
    for (std::uint32_t k = 0; k < poly.figures(); ++k) {
        const std::uint32_t count = poly.figureSize(k);
        for (std::uint32_t i = 0; i < count; ++i) {
            m_out += i == 0 ? (k == 0 ? "M" : " M") : " L";
            point(m_out, poly.point(next + i), ' ');
        }
        if (count) m_out += 'Z';
        next += count;
    }
    m_out += "\"/>\n";
}

void SvgWriter::writeBitmap(const ByteReader& r, std::uint32_t offBmi, std::uint32_t cbBmi,
                            std::uint32_t offBits, std::uint32_t cbBits, RECT src, RECT dst, DWORD rop) {
    Surface block;
    if (isEmpty(dst) || !emf::readBitmapBlock(r, offBmi, cbBmi, offBits, cbBits, src, block)) return;
    std::vector<unsigned char> png;
    if (QOR::detail::encodePng(block, png) != Status::Ok) return;

    beginShape();
    m_out += "<image x=\"";
    appendInt(m_out, dst.left);
    m_out += "\" y=\"";
    appendInt(m_out, dst.top);
    m_out += "\" width=\"";
    appendInt(m_out, std::int64_t(dst.right) - dst.left);
    m_out += "\" height=\"";
    appendInt(m_out, std::int64_t(dst.bottom) - dst.top);
    m_out += "\" preserveAspectRatio=\"none\" image-rendering=\"optimizeSpeed\"";
    // Masks: AND with a black-and-white image is multiplying by it, OR is screening with it.
    if (rop == SRCAND) m_out += " style=\"mix-blend-mode:multiply\"";
    if (rop == SRCPAINT) m_out += " style=\"mix-blend-mode:screen\"";
    m_out += " xlink:href=\"data:image/png;base64,";
    appendBase64(m_out, png);
    m_out += "\"/>\n";
}

void SvgWriter::write(std::uint32_t type, const ByteReader& r) {
    emf::RecordFields f(r);
    switch (type) {
    case emf::kSetPolyFillMode:
        if (f.read(1) && (f.i(0) == ALTERNATE || f.i(0) == WINDING)) m_state.fillMode = f.i(0);
        break;
    case emf::kMoveToEx:
        if (f.read(2)) m_state.pos = POINT{f.i(0), f.i(1)};
        break;
    case emf::kLineTo:
        if (f.read(2)) lineTo(POINT{f.i(0), f.i(1)});
        break;
    case emf::kSetPixelV:
        if (f.read(3)) {
            const RECT px{f.i(0), f.i(1), f.i(0) + (f.i(0) < INT32_MAX), f.i(1) + (f.i(1) < INT32_MAX)};
            fillRects(std::span(&px, 1), f.u[2]);
        }
        break;
    case emf::kPolygon16:
    case emf::kPolyline16:
    case emf::kPolyPolygon16:
    case emf::kPolygon:
    case emf::kPolyline:
    case emf::kPolyPolygon:
        writePolys(type, r);
        break;
    case emf::kEllipse:
    case emf::kRectangle: {
        if (!f.read(4) || (m_state.pen.null && m_state.brush.null)) break;
        RECT box = readRect(r, 8);
        if (box.right < box.left) std::swap(box.left, box.right);
        if (box.bottom < box.top) std::swap(box.top, box.bottom);
        // The outline runs through the centres of the box's outer pixels (right and bottom excluded).
        const double w = std::max<std::int64_t>(0, std::int64_t(box.right) - box.left - 1);
        const double h = std::max<std::int64_t>(0, std::int64_t(box.bottom) - box.top - 1);
        beginShape();
        if (type == emf::kEllipse) {
            m_out += "<ellipse cx=\"";
            appendNumber(m_out, box.left + 0.5 + w / 2);
            m_out += "\" cy=\"";
            appendNumber(m_out, box.top + 0.5 + h / 2);
            m_out += "\" rx=\"";
            appendNumber(m_out, w / 2);
            m_out += "\" ry=\"";
            appendNumber(m_out, h / 2);
        } else {
            m_out += "<rect x=\"";
            appendNumber(m_out, box.left + 0.5);
            m_out += "\" y=\"";
            appendNumber(m_out, box.top + 0.5);
            m_out += "\" width=\"";
            appendNumber(m_out, w);
            m_out += "\" height=\"";
            appendNumber(m_out, h);
        }
        m_out += '"';
        fill();
        stroke();
        m_out += "/>\n";
        break;
    }
    case emf::kCreatePen:
        if (f.read(5))
            if (Object* s = slot(f.u[0])) {
                const std::uint32_t style = f.u[1] & 0xF;
                s->kind = Object::PenKind;
                s->pen = Pen{style == PS_NULL, style <= kPsDashDotDot ? style : 0,
                             std::clamp(f.i(2), 1, 1 << 20), f.u[4]};
            }
        break;
    case emf::kCreateBrushIndirect:
        if (f.read(3))
            if (Object* s = slot(f.u[0])) {
                s->kind = Object::BrushKind;
                s->brush = Brush{f.u[1] == BS_NULL, f.u[1] == BS_SOLID || f.u[1] == kBsHatched ? f.u[2] : 0};
            }
        break;
    case emf::kSelectObject:
        if (f.read(1))
            if (const Object* o = object(f.u[0])) {
                if (o->kind == Object::PenKind) m_state.pen = o->pen;
                if (o->kind == Object::BrushKind) m_state.brush = o->brush;
            }
        break;
    case emf::kDeleteObject:
        if (f.read(1))
            if (Object* s = slot(f.u[0])) *s = Object{};
        break;
    case emf::kFillRgn:
    case emf::kPaintRgn: {
        const bool isFill = type == emf::kFillRgn;
        if (!f.read(isFill ? 2 : 1, 24)) break;
        const Object* o = isFill ? object(f.u[1]) : nullptr;
        const Brush brush =
            isFill ? (o && o->kind == Object::BrushKind ? o->brush : Brush{true, 0}) : m_state.brush;
        if (brush.null || !readRegion(r, isFill ? 32 : 28, f.u[0])) break;
        fillRects(m_rects, brush.color);
        break;
    }
    case emf::kExtSelectClipRgn:
        if (f.read(2)) {
            const int mode = f.i(1);
            if (f.u[0] == 0) {
                if (mode == RGN_COPY) setClip(std::nullopt);
                break;
            }
            if (!readRegion(r, 16, f.u[0])) break;
            if (mode == RGN_COPY || (mode == RGN_AND && !m_state.clip)) {
                setClip(m_rects);
            } else if (mode == RGN_AND) {
                std::vector<RECT> cut;
                for (const RECT& a : *m_state.clip)
                    for (const RECT& b : m_rects)
                        if (const RECT c = intersect(a, b); !isEmpty(c)) cut.push_back(c);
                setClip(std::move(cut));
            } else if (mode == RGN_OR && m_state.clip) {
                std::vector<RECT> joined = *m_state.clip;
                joined.insert(joined.end(), m_rects.begin(), m_rects.end());
                setClip(std::move(joined));
            }
        }
        break;
    case emf::kIntersectClipRect:
        if (f.read(4)) {
            const RECT rc = readRect(r, 8);
            std::vector<RECT> cut;
            if (!m_state.clip) {
                if (!isEmpty(rc)) cut.push_back(rc);
            } else {
                for (const RECT& a : *m_state.clip)
                    if (const RECT c = intersect(a, rc); !isEmpty(c)) cut.push_back(c);
            }
            setClip(std::move(cut));
        }
        break;
    case emf::kSaveDc:
        m_saved.push_back(m_state);
        break;
    case emf::kRestoreDc:
        if (f.read(1) && f.i(0) < 0 && -std::int64_t(f.i(0)) <= std::int64_t(m_saved.size())) {
            const std::size_t keep = m_saved.size() - std::size_t(-std::int64_t(f.i(0)));
            m_state = std::move(m_saved[keep]);
            m_saved.resize(keep);
            m_clipDirty = true;
        }
        break;
    case emf::kBitBlt:
        // Bounds, destination x, y, cx, cy, ROP, source x, y, transform (6 words), background, usage,
        // then offsets and sizes of the bitmap.
        if (f.read(19, 24)) {
            const RECT dst{
                f.i(0), f.i(1),
                int(std::clamp<std::int64_t>(std::int64_t(f.i(0)) + f.i(2), INT32_MIN, INT32_MAX)),
                int(std::clamp<std::int64_t>(std::int64_t(f.i(1)) + f.i(3), INT32_MIN, INT32_MAX))};
            if (f.u[16] != 0) {
                writeBitmap(r, f.u[15], f.u[16], f.u[17], f.u[18], RECT{f.i(5), f.i(6), f.i(2), f.i(3)}, dst,
                            f.u[4]);
                break;
            }
            if (isEmpty(dst)) break;
            if (f.u[4] == kPatCopy && !m_state.brush.null) fillRects(std::span(&dst, 1), m_state.brush.color);
            if (f.u[4] == BLACKNESS) fillRects(std::span(&dst, 1), RGB(0, 0, 0));
            if (f.u[4] == WHITENESS) fillRects(std::span(&dst, 1), RGB(255, 255, 255));
        }
        break;
    case emf::kStretchDiBits:
        // Bounds, destination x, y, source x, y, cx, cy, offsets and sizes, usage, ROP, destination cx, cy.
        if (f.read(14, 24)) {
            const RECT dst{
                f.i(0), f.i(1),
                int(std::clamp<std::int64_t>(std::int64_t(f.i(0)) + f.i(12), INT32_MIN, INT32_MAX)),
                int(std::clamp<std::int64_t>(std::int64_t(f.i(1)) + f.i(13), INT32_MIN, INT32_MAX))};
            writeBitmap(r, f.u[6], f.u[7], f.u[8], f.u[9], RECT{f.i(2), f.i(3), f.i(4), f.i(5)}, dst,
                        f.u[11]);
        }
        break;
    default:
        break;
    }
}

/// The document, or BadInput for a malformed metafile.
Status toSvg(const CEnhMetaFile& hemf, std::string& svg) {
    EnhMetaHeader header{};
    if (!hemf.header(header)) return QOR::detail::fail(Status::BadInput);
    // The frame's pixel box at the reference device's resolution, as the player places it.
    const double pxPerHimmX = header.deviceMm.cx > 0 && header.devicePx.cx > 0
                                  ? double(header.devicePx.cx) / (header.deviceMm.cx * 100.0)
                                  : 1.0 / emf::kHimmPerPx;
    const double pxPerHimmY = header.deviceMm.cy > 0 && header.devicePx.cy > 0
                                  ? double(header.devicePx.cy) / (header.deviceMm.cy * 100.0)
                                  : 1.0 / emf::kHimmPerPx;
    const RECT& f = header.frameHimm;
    const std::int64_t l = std::llround(f.left * pxPerHimmX), t = std::llround(f.top * pxPerHimmY);
    const std::int64_t r = std::llround((std::int64_t(f.right) + 1) * pxPerHimmX);
    const std::int64_t b = std::llround((std::int64_t(f.bottom) + 1) * pxPerHimmY);
    if (r <= l || b <= t) return QOR::detail::fail(Status::BadInput);

    std::string out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "version=\"1.1\" width=\"";
    appendNumber(out, (std::int64_t(f.right) + 1 - f.left) / 100.0);
    out += "mm\" height=\"";
    appendNumber(out, (std::int64_t(f.bottom) + 1 - f.top) / 100.0);
    out += "mm\" viewBox=\"";
    appendInt(out, l);
    out += ' ';
    appendInt(out, t);
    out += ' ';
    appendInt(out, r - l);
    out += ' ';
    appendInt(out, b - t);
    // GDI's wide pens have round ends and joins; its one-pixel pens cover their end pixels, which a round
    // end does as well.
    out += "\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n";

    std::uint32_t headerBytes = 0;
    const ByteReader all(hemf.bytes());
    all.u32(4, headerBytes);
    SvgWriter writer(out, header.handles);
    if (!writer.run(all, headerBytes, header.bytes)) return QOR::detail::fail(Status::BadInput);
    out += "</svg>\n";
    svg = std::move(out);
    return Status::Ok;
}

} // namespace

namespace QOR {

bool enhMetaFileToSvg(const HENHMETAFILE& hemf, std::string& svg) noexcept {
    return detail::guardedAt("enhMetaFileToSvg", false, [&] { return toSvg(hemf, svg) == Status::Ok; });
}

bool enhMetaFileBytesToSvg(std::span<const unsigned char> bytes, std::string& svg) noexcept {
    return detail::guardedAt("enhMetaFileBytesToSvg", false, [&] {
        const CEnhMetaFile mf = CEnhMetaFile::fromBytes(bytes);
        return !mf.isNull() && toSvg(mf, svg) == Status::Ok;
    });
}

bool enhMetaFileWriteSvg(const HENHMETAFILE& hemf, const wchar_t* path) noexcept {
    if (!path) return false;
    return detail::guardedAt("enhMetaFileWriteSvg", false, [&] {
        std::string svg;
        if (toSvg(hemf, svg) != Status::Ok) return false;
        detail::AtomicFile file;
        std::FILE* f = file.open(path);
        if (f && std::fwrite(svg.data(), 1, svg.size(), f) == svg.size() && file.commit()) return true;
        detail::fail(Status::BadInput, "the SVG file could not be written");
        return false;
    });
}

} // namespace QOR
