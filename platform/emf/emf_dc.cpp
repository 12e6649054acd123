#include "qor/platform/emf/emf_dc.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "qor/platform/device_coord_p.h"
#include "qor/platform/dib_p.h"
#include "qor/platform/emf/emf_records_p.h"
#include "qor/platform/file_io_p.h"
#include "qor/platform/le_bytes_p.h"
#include "qor/platform/region.h"

using QOR::detail::ByteWriter;
using QOR::detail::fail;
using QOR::detail::guarded;
using QOR::detail::Status;
namespace emf = QOR::detail::emf;

namespace {

// The table of object handles: two pen slots, two brush slots and one for the brush of a rectangle fill.
constexpr int kPenSlotA = 1, kPenSlotB = 2, kBrushSlotA = 3, kBrushSlotB = 4, kFillBrushSlot = 5;
constexpr std::uint32_t kHandleCount = 6;
/// A metafile stops growing here: far beyond any preview, well inside the 32-bit size fields.
constexpr std::size_t kMaxMetafileBytes = std::size_t{1} << 30;
/// Longest description kept, in UTF-16 units.
constexpr std::size_t kMaxDescriptionUnits = 4096;

bool fits16(std::span<const POINT> points) {
    return std::all_of(points.begin(), points.end(), [](const POINT& p) {
        return p.x >= INT16_MIN && p.x <= INT16_MAX && p.y >= INT16_MIN && p.y <= INT16_MAX;
    });
}

RECT widen(RECT r, std::int64_t by) {
    return RECT{QOR::clampDevice(r.left - by), QOR::clampDevice(r.top - by), QOR::clampDevice(r.right + by),
                QOR::clampDevice(r.bottom + by)};
}

/// UTF-16 units of "application\0title\0\0", up to and including the closing pair of NULs.
std::vector<std::uint16_t> descriptionUnits(const wchar_t* text) {
    std::vector<std::uint16_t> out;
    if (!text) return out;
    for (std::size_t i = 0; out.size() < kMaxDescriptionUnits; ++i) {
        const char32_t c = char32_t(text[i]);
        if (c >= 0x10000 && c <= 0x10FFFF) {
            out.push_back(std::uint16_t(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(std::uint16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(c > 0xFFFF ? 0xFFFD : std::uint16_t(c));
        }
        if (c == 0 && i > 0 && text[i - 1] == 0) break;
    }
    return out;
}

} // namespace

CMetaFileDC::CMetaFileDC() noexcept = default;
CMetaFileDC::~CMetaFileDC() = default;

template <class F>
Status CMetaFileDC::record(F&& step) {
    if (m_error != Status::Ok) return m_error;
    Status s = guarded([&] { return step(); });
    if (QOR::detail::succeeded(s) && m_bytes.size() > kMaxMetafileBytes) s = fail(Status::TooLarge);
    if (!QOR::detail::succeeded(s)) m_error = s;
    return s;
}

std::size_t CMetaFileDC::beginRecord(std::uint32_t type) {
    ByteWriter w(m_bytes);
    const std::size_t start = w.size();
    w.u32(type);
    w.u32(0);
    return start;
}

void CMetaFileDC::endRecord(std::size_t start) {
    ByteWriter(m_bytes).patchU32(start + 4, std::uint32_t(m_bytes.size() - start));
    ++m_records;
}

void CMetaFileDC::writeRect(const RECT& r) {
    ByteWriter w(m_bytes);
    w.i32(r.left);
    w.i32(r.top);
    w.i32(r.right);
    w.i32(r.bottom);
}

void CMetaFileDC::selectHandle(std::uint32_t handle) {
    const std::size_t s = beginRecord(emf::kSelectObject);
    ByteWriter(m_bytes).u32(handle);
    endRecord(s);
}

namespace {
void deleteHandle(std::vector<unsigned char>& bytes, std::size_t& records, std::uint32_t handle) {
    ByteWriter w(bytes);
    w.u32(emf::kDeleteObject);
    w.u32(12);
    w.u32(handle);
    ++records;
}
} // namespace

void CMetaFileDC::writeRegion(const QOR::Region& region, std::uint64_t& bytesOut) {
    region.rects(m_rects);
    ByteWriter w(m_bytes);
    const std::size_t start = w.size();
    w.u32(emf::kRgnHeaderBytes);
    w.u32(emf::kRgnRectangles);
    w.u32(std::uint32_t(m_rects.size()));
    w.u32(std::uint32_t(m_rects.size() * 16));
    writeRect(region.bounds());
    for (const RECT& r : m_rects)
        writeRect(r);
    bytesOut = m_bytes.size() - start;
}

RECT CMetaFileDC::shapeBounds(std::span<const POINT> points, bool withPen) {
    RECT box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const POINT& p : points) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    const int width = pen().lopnWidth.x;
    if (withPen && pen().lopnStyle != PS_NULL && width > 1) box = widen(box, (std::int64_t(width) + 1) / 2);
    addBounds(box);
    return box;
}

void CMetaFileDC::addBounds(const RECT& inclusive) {
    RECT r = inclusive;
    if (const QOR::Region* c = clip()) {
        if (c->isEmpty()) return;
        const RECT cb = c->bounds();
        r = RECT{std::max(r.left, cb.left), std::max(r.top, cb.top), std::min(r.right, cb.right - 1),
                 std::min(r.bottom, cb.bottom - 1)};
    }
    if (r.right < r.left || r.bottom < r.top) return;
    if (!m_hasBounds) {
        m_bounds = r;
        m_hasBounds = true;
        return;
    }
    m_bounds = RECT{std::min(m_bounds.left, r.left), std::min(m_bounds.top, r.top),
                    std::max(m_bounds.right, r.right), std::max(m_bounds.bottom, r.bottom)};
}

// ---- creating and closing

BOOL CMetaFileDC::CreateEnhanced(CDC*, const wchar_t* lpszFileName, const RECT* lpBoundsHimm,
                                 const wchar_t* lpszDescription) noexcept {
    if (isCreated()) return FALSE;
    m_error = Status::Ok;
    m_records = 0;
    m_penSlot = m_brushSlot = 0;
    m_recorded = Recorded{};
    m_hasBounds = false;
    m_bounds = RECT{0, 0, -1, -1};
    m_frameGiven = lpBoundsHimm != nullptr;
    if (lpBoundsHimm) m_frameHimm = *lpBoundsHimm;
    const Status st = guarded([&] {
        m_bytes.clear();
        m_file.reset();
        if (lpszFileName) {
            m_file = std::make_unique<QOR::detail::AtomicFile>();
            m_stream = m_file->open(lpszFileName);
            if (!m_stream) return fail(Status::BadInput);
        }
        const std::vector<std::uint16_t> description = descriptionUnits(lpszDescription);
        ByteWriter w(m_bytes);
        w.u32(emf::kHeader);
        w.u32(0);    // size, patched below
        w.zeros(32); // bounds and frame, patched when closing
        w.u32(emf::kSignature);
        w.u32(emf::kVersion);
        w.u32(0); // bytes
        w.u32(0); // records
        w.u16(kHandleCount);
        w.u16(0);
        w.u32(std::uint32_t(description.size()));
        w.u32(description.empty() ? 0 : emf::kHeaderBytes);
        w.u32(0); // palette entries
        w.i32(emf::kRefDevicePxX);
        w.i32(emf::kRefDevicePxY);
        w.i32(emf::kRefDeviceMmX);
        w.i32(emf::kRefDeviceMmY);
        w.u32(0); // no pixel format
        w.u32(0);
        w.u32(0); // no OpenGL records
        w.u32(emf::kRefDeviceMmX * 1000);
        w.u32(emf::kRefDeviceMmY * 1000);
        for (const std::uint16_t u : description)
            w.u16(u);
        w.zeros((4 - m_bytes.size() % 4) % 4);
        w.patchU32(4, std::uint32_t(m_bytes.size()));
        m_records = 1;
        return Status::Ok;
    });
    if (st != Status::Ok) {
        m_file.reset();
        return FALSE;
    }
    setCreated(true);
    return TRUE;
}

HENHMETAFILE CMetaFileDC::CloseEnhanced() noexcept {
    if (!isCreated()) return CEnhMetaFile();
    const Status st = record([&] {
        const std::size_t s = beginRecord(emf::kEof);
        ByteWriter w(m_bytes);
        w.u32(0);  // no palette
        w.u32(16); // where a palette would start
        w.u32(20); // this record's size, repeated at its end
        endRecord(s);

        const RECT bounds = m_hasBounds ? m_bounds : RECT{0, 0, -1, -1};
        const auto himm = [](std::int64_t px) {
            return std::int32_t(std::llround(double(px) * emf::kHimmPerPx));
        };
        RECT frame = m_frameHimm;
        if (!m_frameGiven) {
            frame = m_hasBounds
                        ? RECT{himm(bounds.left), himm(bounds.top), himm(std::int64_t(bounds.right) + 1) - 1,
                               himm(std::int64_t(bounds.bottom) + 1) - 1}
                        : RECT{0, 0, -1, -1};
        }
        const RECT fields[2] = {bounds, frame};
        for (int i = 0; i < 2; ++i) {
            w.patchU32(8 + 16 * i, std::uint32_t(fields[i].left));
            w.patchU32(12 + 16 * i, std::uint32_t(fields[i].top));
            w.patchU32(16 + 16 * i, std::uint32_t(fields[i].right));
            w.patchU32(20 + 16 * i, std::uint32_t(fields[i].bottom));
        }
        w.patchU32(48, std::uint32_t(m_bytes.size()));
        w.patchU32(52, std::uint32_t(m_records));
        if (!m_file) return Status::Ok;
        if (std::fwrite(m_bytes.data(), 1, m_bytes.size(), m_stream) != m_bytes.size() || !m_file->commit())
            return fail(Status::BadInput);
        return Status::Ok;
    });
    std::vector<unsigned char> bytes = std::move(m_bytes);
    m_bytes.clear();
    m_file.reset(); // removes the temporary file when it was not committed
    m_stream = nullptr;
    setCreated(false);
    if (st != Status::Ok) return CEnhMetaFile();
    return CEnhMetaFile(std::move(bytes));
}

// ---- state verbs

Status CMetaFileDC::selectPen(const LOGPEN& log, int stockIndex) {
    return record([&] {
        if (stockIndex >= 0) {
            if (m_recorded.penStock == stockIndex) return Status::Ok;
            selectHandle(emf::kStockObjectFlag | std::uint32_t(stockIndex));
            if (m_penSlot) deleteHandle(m_bytes, m_records, std::uint32_t(m_penSlot));
            m_penSlot = 0;
            m_recorded.penStock = stockIndex;
            return Status::Ok;
        }
        const LOGPEN& r = m_recorded.pen;
        if (m_recorded.penStock < 0 && r.lopnStyle == log.lopnStyle && r.lopnWidth.x == log.lopnWidth.x &&
            r.lopnColor == log.lopnColor)
            return Status::Ok;
        const int slot = m_penSlot == kPenSlotA ? kPenSlotB : kPenSlotA;
        const std::size_t s = beginRecord(emf::kCreatePen);
        ByteWriter w(m_bytes);
        w.u32(std::uint32_t(slot));
        w.u32(log.lopnStyle);
        w.i32(log.lopnWidth.x);
        w.i32(0);
        w.u32(log.lopnColor);
        endRecord(s);
        selectHandle(std::uint32_t(slot));
        if (m_penSlot) deleteHandle(m_bytes, m_records, std::uint32_t(m_penSlot));
        m_penSlot = slot;
        m_recorded.penStock = -1;
        m_recorded.pen = log;
        return Status::Ok;
    });
}

Status CMetaFileDC::selectBrush(const LOGBRUSH& log, int stockIndex) {
    return record([&] {
        if (stockIndex >= 0) {
            if (m_recorded.brushStock == stockIndex) return Status::Ok;
            selectHandle(emf::kStockObjectFlag | std::uint32_t(stockIndex));
            if (m_brushSlot) deleteHandle(m_bytes, m_records, std::uint32_t(m_brushSlot));
            m_brushSlot = 0;
            m_recorded.brushStock = stockIndex;
            return Status::Ok;
        }
        const LOGBRUSH& r = m_recorded.brush;
        if (m_recorded.brushStock < 0 && r.lbStyle == log.lbStyle && r.lbColor == log.lbColor)
            return Status::Ok;
        const int slot = m_brushSlot == kBrushSlotA ? kBrushSlotB : kBrushSlotA;
        const std::size_t s = beginRecord(emf::kCreateBrushIndirect);
        ByteWriter w(m_bytes);
        w.u32(std::uint32_t(slot));
        w.u32(log.lbStyle);
        w.u32(log.lbColor);
        w.u32(0); // no hatch
        endRecord(s);
        selectHandle(std::uint32_t(slot));
        if (m_brushSlot) deleteHandle(m_bytes, m_records, std::uint32_t(m_brushSlot));
        m_brushSlot = slot;
        m_recorded.brushStock = -1;
        m_recorded.brush = log;
        return Status::Ok;
    });
}

Status CMetaFileDC::selectClip(const QOR::Region* region) {
    return record([&] {
        const std::size_t s = beginRecord(emf::kExtSelectClipRgn);
        ByteWriter w(m_bytes);
        const std::size_t sizeField = w.size();
        w.u32(0);
        w.u32(RGN_COPY);
        std::uint64_t regionBytes = 0;
        if (region) writeRegion(*region, regionBytes);
        w.patchU32(sizeField, std::uint32_t(regionBytes));
        endRecord(s);
        return Status::Ok;
    });
}

Status CMetaFileDC::setAttributes(const QOR::detail::DcAttributes& a) {
    return record([&] {
        QOR::detail::DcAttributes& r = m_recorded.attributes;
        const auto write = [&](std::uint32_t type, std::uint32_t value) {
            const std::size_t s = beginRecord(type);
            ByteWriter(m_bytes).u32(value);
            endRecord(s);
        };
        if (a.bkColor != r.bkColor) write(emf::kSetBkColor, a.bkColor);
        if (a.textColor != r.textColor) write(emf::kSetTextColor, a.textColor);
        if (a.bkMode != r.bkMode) write(emf::kSetBkMode, std::uint32_t(a.bkMode));
        if (a.polyFillMode != r.polyFillMode) write(emf::kSetPolyFillMode, std::uint32_t(a.polyFillMode));
        r = a;
        return Status::Ok;
    });
}

Status CMetaFileDC::selectBitmap(const QOR::detail::Surface* surface) {
    // RestoreDC passes the null surface every metafile DC has; only a real bitmap is refused.
    return surface ? fail(Status::Unsupported) : Status::Ok;
}

// ---- drawing verbs

Status CMetaFileDC::strokeSegment(POINT from, POINT to) {
    return record([&] {
        ByteWriter w(m_bytes);
        POINT& at = m_recorded.position;
        if (at.x != from.x || at.y != from.y) {
            const std::size_t s = beginRecord(emf::kMoveToEx);
            w.i32(from.x);
            w.i32(from.y);
            endRecord(s);
        }
        const std::size_t s = beginRecord(emf::kLineTo);
        w.i32(to.x);
        w.i32(to.y);
        endRecord(s);
        at = to;
        const POINT ends[2] = {from, to};
        shapeBounds(ends, true);
        return Status::Ok;
    });
}

namespace {
void writePoints(ByteWriter& w, std::span<const POINT> points, bool small) {
    for (const POINT& p : points) {
        if (small) {
            w.i16(p.x);
            w.i16(p.y);
        } else {
            w.i32(p.x);
            w.i32(p.y);
        }
    }
}
} // namespace

Status CMetaFileDC::polyline(std::span<const POINT> points) {
    return record([&] {
        const bool small = fits16(points);
        const RECT bounds = shapeBounds(points, true);
        const std::size_t s = beginRecord(small ? emf::kPolyline16 : emf::kPolyline);
        ByteWriter w(m_bytes);
        writeRect(bounds);
        w.u32(std::uint32_t(points.size()));
        writePoints(w, points, small);
        endRecord(s);
        return Status::Ok;
    });
}

Status CMetaFileDC::polyPolygon(std::span<const POINT> points, std::span<const int> counts) {
    return record([&] {
        const bool small = fits16(points);
        const RECT bounds = shapeBounds(points, true);
        ByteWriter w(m_bytes);
        std::size_t s = 0;
        if (counts.size() == 1) {
            s = beginRecord(small ? emf::kPolygon16 : emf::kPolygon);
            writeRect(bounds);
        } else {
            s = beginRecord(small ? emf::kPolyPolygon16 : emf::kPolyPolygon);
            writeRect(bounds);
            w.u32(std::uint32_t(counts.size()));
        }
        w.u32(std::uint32_t(points.size()));
        if (counts.size() > 1)
            for (const int c : counts)
                w.u32(std::uint32_t(c));
        writePoints(w, points, small);
        endRecord(s);
        return Status::Ok;
    });
}

Status CMetaFileDC::ellipse(const RECT& box) {
    return record([&] {
        const POINT corners[2] = {{box.left, box.top},
                                  {std::max(box.left, box.right - 1), std::max(box.top, box.bottom - 1)}};
        shapeBounds(corners, true);
        const std::size_t s = beginRecord(emf::kEllipse);
        writeRect(box);
        endRecord(s);
        return Status::Ok;
    });
}

Status CMetaFileDC::rectangle(const RECT& box) {
    return record([&] {
        const POINT corners[2] = {{box.left, box.top},
                                  {std::max(box.left, box.right - 1), std::max(box.top, box.bottom - 1)}};
        shapeBounds(corners, true);
        const std::size_t s = beginRecord(emf::kRectangle);
        writeRect(box);
        endRecord(s);
        return Status::Ok;
    });
}

Status CMetaFileDC::fillSolidRect(const RECT& rect, COLORREF color) {
    return record([&] {
        ByteWriter w(m_bytes);
        std::size_t s = beginRecord(emf::kCreateBrushIndirect);
        w.u32(kFillBrushSlot);
        w.u32(BS_SOLID);
        w.u32(color);
        w.u32(0);
        endRecord(s);

        const POINT corners[2] = {{rect.left, rect.top}, {rect.right - 1, rect.bottom - 1}};
        const RECT bounds = shapeBounds(corners, false);
        s = beginRecord(emf::kFillRgn);
        writeRect(bounds);
        w.u32(emf::kRgnHeaderBytes + 16);
        w.u32(kFillBrushSlot);
        w.u32(emf::kRgnHeaderBytes);
        w.u32(emf::kRgnRectangles);
        w.u32(1);
        w.u32(16);
        writeRect(rect);
        writeRect(rect);
        endRecord(s);
        deleteHandle(m_bytes, m_records, kFillBrushSlot);
        return Status::Ok;
    });
}

Status CMetaFileDC::setPixel(POINT point, COLORREF color, COLORREF& actual) {
    if (m_error != Status::Ok) return m_error;
    if (clip() && !clip()->contains(point.x, point.y)) return Status::NothingToDo;
    return record([&] {
        const std::size_t s = beginRecord(emf::kSetPixelV);
        ByteWriter w(m_bytes);
        w.i32(point.x);
        w.i32(point.y);
        w.u32(color);
        endRecord(s);
        addBounds(RECT{point.x, point.y, point.x, point.y});
        actual = color;
        return Status::Ok;
    });
}

Status CMetaFileDC::getPixel(POINT, COLORREF&) const {
    return fail(Status::Unsupported);
}

Status CMetaFileDC::bitBlt(const RECT& dst, const QOR::detail::BlitSource* src, POINT srcOrigin, DWORD rop) {
    return record([&] {
        const int w = dst.right - dst.left, h = dst.bottom - dst.top;
        const POINT corners[2] = {{dst.left, dst.top}, {dst.right - 1, dst.bottom - 1}};
        const RECT bounds = shapeBounds(corners, false);
        ByteWriter out(m_bytes);
        if (!src) {
            const std::size_t s = beginRecord(emf::kBitBlt);
            writeRect(bounds);
            out.i32(dst.left);
            out.i32(dst.top);
            out.i32(w);
            out.i32(h);
            out.u32(rop);
            out.i32(0);
            out.i32(0);
            for (const float f : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f}) // identity source transform
                out.u32(std::bit_cast<std::uint32_t>(f));
            out.zeros(24); // background colour, colour usage and no bitmap
            endRecord(s);
            return Status::Ok;
        }
        const std::uint64_t bitsPerRow = src->surface.isMono() ? std::uint64_t(w) : std::uint64_t(w) * 32;
        if ((bitsPerRow + 31) / 32 * 4 * std::uint64_t(h) > kMaxMetafileBytes) return fail(Status::TooLarge);
        const std::size_t s = beginRecord(emf::kStretchDiBits);
        writeRect(bounds);
        out.i32(dst.left);
        out.i32(dst.top);
        out.i32(0); // the DIB holds exactly the source block
        out.i32(0);
        out.i32(w);
        out.i32(h);
        const std::size_t offsets = out.size();
        out.zeros(16); // offsets and sizes of header and bits, patched below
        out.u32(0);    // DIB_RGB_COLORS
        out.u32(rop);
        out.i32(w);
        out.i32(h);
        const std::size_t dibStart = out.size();
        std::size_t headerBytes = 0;
        QOR::detail::encodeDib(src->surface, srcOrigin.x, srcOrigin.y, w, h, attributes().textColor,
                               attributes().bkColor, m_bytes, headerBytes);
        out.patchU32(offsets, std::uint32_t(dibStart - s));
        out.patchU32(offsets + 4, std::uint32_t(headerBytes));
        out.patchU32(offsets + 8, std::uint32_t(dibStart - s + headerBytes));
        out.patchU32(offsets + 12, std::uint32_t(m_bytes.size() - dibStart - headerBytes));
        endRecord(s);
        return Status::Ok;
    });
}
