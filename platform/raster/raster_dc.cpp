#include "qor/platform/raster/raster_dc.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "qor/platform/raster/ellipse_p.h"
#include "qor/platform/raster/stroke_p.h"

using QOR::detail::BlitSource;
using QOR::detail::EllipseOutlineWalk;
using QOR::detail::EllipseRows;
using QOR::detail::Rop;
using QOR::detail::Status;
using QOR::detail::Surface;

namespace {

Rop ropOf(DWORD rop) {
    switch (rop) {
    case SRCAND:
        return Rop::And;
    case SRCINVERT:
        return Rop::Invert;
    case SRCPAINT:
        return Rop::Paint;
    case DSTINVERT:
        return Rop::DstInvert;
    case BLACKNESS:
        return Rop::Black;
    case WHITENESS:
        return Rop::White;
    default:
        return Rop::Copy;
    }
}

} // namespace

CRasterDC::CRasterDC() noexcept = default;
CRasterDC::~CRasterDC() = default;

BOOL CRasterDC::CreateCompatibleDC(CDC*) noexcept {
    if (isCreated()) return FALSE;
    setCreated(true);
    return TRUE;
}

// The front end keeps the state; drawing reads it back, so selections need no work here beyond noting
// that the sink must be bound again (the front end updates its state after these calls return).
Status CRasterDC::selectPen(const LOGPEN&, int) {
    return Status::Ok;
}
Status CRasterDC::selectBrush(const LOGBRUSH&, int) {
    return Status::Ok;
}
Status CRasterDC::selectClip(const QOR::Region*) {
    m_sinkStale = true;
    return Status::Ok;
}
Status CRasterDC::setAttributes(const QOR::detail::DcAttributes&) {
    return Status::Ok;
}
Status CRasterDC::selectBitmap(const Surface*) {
    m_sinkStale = true;
    return Status::Ok;
}

bool CRasterDC::bindSink() {
    // A selected surface keeps its size and a selected clip region never changes, so the binding holds
    // until the next selection.
    if (m_sinkStale) {
        m_sinkReady = m_sink.bind(surface(), clip());
        m_sinkStale = false;
    }
    return m_sinkReady;
}

void CRasterDC::fillBox(RECT r) {
    const RECT& box = m_sink.box();
    r = RECT{std::max(r.left, box.left), std::max(r.top, box.top), std::min(r.right, box.right),
             std::min(r.bottom, box.bottom)};
    if (r.right <= r.left) return;
    for (int y = r.top; y < r.bottom; ++y)
        m_sink.span(y, r.left, r.right);
}

void CRasterDC::strokePath(std::span<const POINT> points, bool closed) {
    m_sink.setColor(pen().lopnColor);
    const std::size_t n = points.size();
    const std::size_t segments = closed ? n : n - 1;
    const int width = penWidth();
    for (std::size_t i = 0; i < segments; ++i) {
        const POINT a = points[i], b = points[i + 1 < n ? i + 1 : 0];
        if (width <= 1) {
            QOR::detail::strokeThinLine(a, b, m_sink);
        } else {
            QOR::detail::strokeWideLine(a, b, width, m_sink);
        }
    }
}

Status CRasterDC::strokeSegment(POINT from, POINT to) {
    const POINT points[2] = {from, to};
    return polyline(points);
}

Status CRasterDC::polyline(std::span<const POINT> points) {
    if (!surface()) return QOR::detail::fail(Status::BadInput);
    if (!bindSink()) return Status::NothingToDo;
    strokePath(points, false);
    return Status::Ok;
}

Status CRasterDC::polyPolygon(std::span<const POINT> points, std::span<const int> counts) {
    if (!surface()) return QOR::detail::fail(Status::BadInput);
    if (!bindSink()) return Status::NothingToDo;
    if (usesBrush()) {
        m_sink.setColor(brush().lbColor);
        const RECT& box = m_sink.box();
        if (m_scan.begin(points, counts, attributes().polyFillMode, box.top, box.bottom)) {
            int y = 0;
            std::span<const int> spans;
            while (m_scan.nextRow(y, spans)) {
                for (std::size_t i = 0; i < spans.size(); i += 2) {
                    const int x0 = std::max(spans[i], int(box.left));
                    const int x1 = std::min(spans[i + 1], int(box.right));
                    if (x0 < x1) m_sink.span(y, x0, x1);
                }
            }
        }
    }
    if (usesPen()) {
        std::size_t first = 0;
        for (const int count : counts) {
            strokePath(points.subspan(first, std::size_t(count)), true);
            first += std::size_t(count);
        }
    }
    return Status::Ok;
}

Status CRasterDC::rectangle(const RECT& r) {
    if (!surface()) return QOR::detail::fail(Status::BadInput);
    if (!bindSink()) return Status::NothingToDo;
    if (!usesPen()) {
        m_sink.setColor(brush().lbColor);
        fillBox(RECT{r.left, r.top, r.right - 1, r.bottom - 1});
        return Status::Ok;
    }
    if (penWidth() > 1) {
        if (usesBrush()) {
            m_sink.setColor(brush().lbColor);
            fillBox(r);
        }
        const POINT path[4] = {
            {r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
        strokePath(path, true);
        return Status::Ok;
    }
    if (usesBrush()) {
        m_sink.setColor(brush().lbColor);
        fillBox(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
    }
    if (r.right > r.left && r.bottom > r.top) {
        m_sink.setColor(pen().lopnColor);
        fillBox(RECT{r.left, r.top, r.right, r.top + 1});
        fillBox(RECT{r.left, r.bottom - 1, r.right, r.bottom});
        fillBox(RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1});
        fillBox(RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1});
    }
    return Status::Ok;
}

Status CRasterDC::ellipse(const RECT& r) {
    if (!surface()) return QOR::detail::fail(Status::BadInput);
    if (!bindSink()) return Status::NothingToDo;
    const EllipseRows rows(r);
    const RECT& box = m_sink.box();
    const int y0 = std::max(r.top, box.top), y1 = std::min(r.bottom, box.bottom);
    const auto emit = [&](int y, int x0, int x1) {
        x0 = std::max(x0, int(box.left));
        x1 = std::min(x1, int(box.right));
        if (x0 < x1) m_sink.span(y, x0, x1);
    };
    const bool thinPen = usesPen() && penWidth() <= 1;
    if (usesBrush()) {
        m_sink.setColor(brush().lbColor);
        EllipseOutlineWalk walk(rows, y0);
        for (int y = y0; y < y1; ++y) {
            int a = 0, b = 0, c = 0, d = 0;
            if (!thinPen) {
                if (rows.row(y, a, b)) emit(y, a, b);
            } else if (walk.next(a, b, c, d)) {
                emit(y, b, c); // between the outline's parts
            }
        }
    }
    if (!usesPen()) return Status::Ok;
    m_sink.setColor(pen().lopnColor);
    if (thinPen) {
        EllipseOutlineWalk walk(rows, y0);
        for (int y = y0; y < y1; ++y) {
            int a = 0, b = 0, c = 0, d = 0;
            if (!walk.next(a, b, c, d)) continue;
            emit(y, a, b);
            if (c < d) emit(y, c, d);
        }
        return Status::Ok;
    }
    // Wide pen: the curve through the outline's pixel centres, as short segments.
    const double cx = (double(r.left) + r.right - 1) * 0.5, cy = (double(r.top) + r.bottom - 1) * 0.5;
    const double ax = std::max(0.0, (double(r.right) - r.left - 1) * 0.5);
    const double ay = std::max(0.0, (double(r.bottom) - r.top - 1) * 0.5);
    const int segments = std::clamp(int(std::ceil(std::numbers::pi * (ax + ay) / 4.0)), 8, 1024);
    double px = cx + ax, py = cy;
    for (int i = 1; i <= segments; ++i) {
        const double t = 2.0 * std::numbers::pi * i / segments;
        const double qx = cx + ax * std::cos(t), qy = cy + ay * std::sin(t);
        QOR::detail::strokeWideLine(px, py, qx, qy, penWidth(), m_sink);
        px = qx;
        py = qy;
    }
    return Status::Ok;
}

Status CRasterDC::fillSolidRect(const RECT& rect, COLORREF color) {
    if (!surface()) return QOR::detail::fail(Status::BadInput);
    if (!bindSink()) return Status::NothingToDo;
    m_sink.setColor(color);
    fillBox(rect);
    return Status::Ok;
}

bool CRasterDC::visible(POINT p) const noexcept {
    const Surface* s = surface();
    if (!s || p.x < 0 || p.y < 0 || p.x >= s->width || p.y >= s->height) return false;
    return !clip() || clip()->contains(p.x, p.y);
}

Status CRasterDC::setPixel(POINT p, COLORREF color, COLORREF& actual) {
    if (!surface()) return QOR::detail::fail(Status::BadInput);
    if (!visible(p)) return Status::NothingToDo;
    if (!bindSink()) return Status::NothingToDo;
    m_sink.setColor(color);
    m_sink.span(p.y, p.x, p.x + 1);
    actual = surface()->colorAt(p.x, p.y);
    return Status::Ok;
}

Status CRasterDC::getPixel(POINT p, COLORREF& color) const {
    if (!surface()) return QOR::detail::fail(Status::BadInput);
    if (!visible(p)) return Status::NothingToDo;
    color = surface()->colorAt(p.x, p.y);
    return Status::Ok;
}

Status CRasterDC::bitBlt(const RECT& dst, const BlitSource* src, POINT srcOrigin, DWORD rop) {
    Surface* target = surface();
    if (!target) return QOR::detail::fail(Status::BadInput);
    if (!bindSink()) return Status::NothingToDo;
    const RECT& box = m_sink.box();
    const RECT vis{std::max(dst.left, box.left), std::max(dst.top, box.top), std::min(dst.right, box.right),
                   std::min(dst.bottom, box.bottom)};
    if (vis.right <= vis.left || vis.bottom <= vis.top) return Status::NothingToDo;

    const Surface* source = src ? &src->surface : nullptr;
    // Source pixel of vis's top-left corner.
    std::int64_t sx = std::int64_t(srcOrigin.x) + (vis.left - dst.left);
    std::int64_t sy = std::int64_t(srcOrigin.y) + (vis.top - dst.top);
    const int width = vis.right - vis.left, height = vis.bottom - vis.top;
    if (source == target) {
        // Same pixels on both sides: copy the source block first, so overlapping blocks read old pixels.
        const Status st = m_blitCopy.create(width, height, source->bitsPerPixel);
        if (st != Status::Ok) return st;
        for (int y = 0; y < height; ++y) {
            if (source->isMono()) {
                for (int x = 0; x < width; ++x) {
                    const std::int64_t px = sx + x;
                    const bool bit = (source->row1(int(sy + y))[px >> 3] >> (7 - (px & 7))) & 1;
                    if (bit) m_blitCopy.row1(y)[x >> 3] |= (unsigned char)(0x80u >> (x & 7));
                }
            } else {
                std::memcpy(m_blitCopy.row32(y), source->row32(int(sy + y)) + sx, std::size_t(width) * 4);
            }
        }
        source = &m_blitCopy;
        sx = sy = 0;
    }

    const Rop op = ropOf(rop);
    const bool monoTarget = target->isMono();
    const std::uint32_t onePixel = QOR::detail::pixelFromColor(attributes().bkColor);
    const std::uint32_t zeroPixel = QOR::detail::pixelFromColor(attributes().textColor);
    const std::uint32_t srcBk = src ? QOR::detail::pixelFromColor(src->bkColor) : 0;
    if (monoTarget) {
        m_row1.resize(std::size_t(width));
    } else {
        m_row32.resize(std::size_t(width));
    }
    m_sink.touch(vis.top, vis.bottom);
    for (int y = vis.top; y < vis.bottom; ++y) {
        // Bring the source row into the target's format once; then apply the ROP to each visible part.
        if (source) {
            const int row = int(sy + (y - vis.top));
            if (monoTarget && source->isMono()) {
                const unsigned char* s = source->row1(row);
                for (int x = 0; x < width; ++x) {
                    const std::int64_t px = sx + x;
                    m_row1[std::size_t(x)] = (s[px >> 3] >> (7 - (px & 7))) & 1;
                }
            } else if (monoTarget) {
                const std::uint32_t* s = source->row32(row) + sx;
                for (int x = 0; x < width; ++x)
                    m_row1[std::size_t(x)] = (s[x] & 0x00FFFFFF) == srcBk ? 1 : 0;
            } else if (source->isMono()) {
                const unsigned char* s = source->row1(row);
                for (int x = 0; x < width; ++x) {
                    const std::int64_t px = sx + x;
                    m_row32[std::size_t(x)] = (s[px >> 3] >> (7 - (px & 7))) & 1 ? onePixel : zeroPixel;
                }
            } else {
                std::memcpy(m_row32.data(), source->row32(row) + sx, std::size_t(width) * 4);
            }
        }
        m_sink.forEachVisible(y, vis.left, vis.right, [&](int l, int r) {
            const std::size_t offset = std::size_t(l - vis.left);
            if (monoTarget) {
                QOR::detail::ropRow1(op, target->row1(y), l, source ? m_row1.data() + offset : nullptr,
                                     r - l);
            } else {
                QOR::detail::ropRow32(op, target->row32(y) + l, source ? m_row32.data() + offset : nullptr,
                                      r - l);
            }
        });
    }
    return Status::Ok;
}
