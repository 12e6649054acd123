#pragma once

// The enhanced-metafile records this library writes and plays, with their [MS-EMF] type numbers and the
// fixed parts of their layouts. Every record is a 32-bit type, a 32-bit size (a multiple of 4, header
// included) and its fields, all little-endian.
//
// Conventions
//  - Coordinates in records are device pixels (the library records with the identity transform).
//  - Bounds fields (RECTL) are inclusive on all four sides, as in GDI; a record's Box fields
//    (EMR_ELLIPSE, EMR_RECTANGLE) keep GDI's exclusive right and bottom.
//  - Frames are in 0.01 mm, inclusive. The reference device is a 96 dpi screen of kRefDevicePx pixels,
//    whose size in millimetres is exact at that resolution, so frame, bounds and device sizes agree.

#include <cstdint>

#include "qor/platform/fwd.h"
#include "qor/platform/le_bytes_p.h"
#include "qor/platform/win_types.h"

namespace QOR::detail::emf {

enum RecordType : std::uint32_t {
    kHeader = 1,
    kPolygon = 3,
    kPolyline = 4,
    kPolyPolygon = 8,
    kEof = 14,
    kSetPixelV = 15,
    kSetBkMode = 18,
    kSetPolyFillMode = 19,
    kSetTextColor = 24,
    kSetBkColor = 25,
    kMoveToEx = 27,
    kExcludeClipRect = 29,
    kIntersectClipRect = 30,
    kSaveDc = 33,
    kRestoreDc = 34,
    kSelectObject = 37,
    kCreatePen = 38,
    kCreateBrushIndirect = 39,
    kDeleteObject = 40,
    kEllipse = 42,
    kRectangle = 43,
    kLineTo = 54,
    kFillRgn = 71,
    kPaintRgn = 74,
    kExtSelectClipRgn = 75,
    kBitBlt = 76,
    kStretchDiBits = 81,
    kPolygon16 = 86,
    kPolyline16 = 87,
    kPolyPolygon16 = 91,
};

constexpr std::uint32_t kSignature = 0x464D4520; // " EMF"
constexpr std::uint32_t kVersion = 0x00010000;
/// Header with both extensions (pixel format, micrometres); a description follows it.
constexpr std::uint32_t kHeaderBytes = 108;
/// The shortest header a reader accepts: the base record without extensions.
constexpr std::uint32_t kMinHeaderBytes = 88;
/// Handles refer to stock objects when this bit is set; the low bits are the stock index.
constexpr std::uint32_t kStockObjectFlag = 0x80000000;
/// RGNDATAHEADER: size, type, count, bytes of rectangles, bounds.
constexpr std::uint32_t kRgnHeaderBytes = 32;
constexpr std::uint32_t kRgnRectangles = 1;

/// Reference device: a 96 dpi screen whose sides are whole millimetres (508 x 381 mm).
constexpr int kRefDpi = 96;
constexpr int kRefDevicePxX = 1920;
constexpr int kRefDevicePxY = 1440;
constexpr int kRefDeviceMmX = 508;
constexpr int kRefDeviceMmY = 381;

/// 0.01 mm per pixel at the reference resolution, as a ratio: 2540 / 96.
constexpr double kHimmPerPx = 2540.0 / kRefDpi;

/// The fixed fields of one record, read as 32-bit words: read(n, from) takes n words from byte `from` on
/// (8: just after the type and size); u[k] is word k, i(k) the same as a signed number. The longest record
/// read so is EMR_BITBLT with 19 words.
class RecordFields {
public:
    static constexpr int kMaxWords = 20;

    explicit RecordFields(const ByteReader& r) noexcept : m_r(r) {}

    /// False, leaving words past the first unreadable one as they were, when the record is too short.
    bool read(int n, std::uint64_t from = 8) noexcept {
        if (n > kMaxWords) return false;
        for (int k = 0; k < n; ++k)
            if (!m_r.u32(from + 4 * std::uint64_t(k), u[k])) return false;
        return true;
    }
    std::int32_t i(int k) const noexcept { return std::int32_t(u[k]); }

    std::uint32_t u[kMaxWords] = {};

private:
    const ByteReader& m_r;
};

/// A poly record (EMR_POLYLINE, EMR_POLYGON, EMR_POLYPOLYGON or a 16-bit form): the point counts of its
/// figures and its points, read from the record's bytes once read() has checked that they are all there.
class PolyRecord {
public:
    /// False for another record type, a record too short for its counts, or figure counts that do not add
    /// up to the number of points.
    bool read(std::uint32_t type, const ByteReader& r) noexcept;

    bool isPolyline() const noexcept { return m_line; }
    /// One record of several figures (a polypolygon), whose fill rule makes holes of inner figures.
    bool isMulti() const noexcept { return m_multi; }
    std::uint32_t figures() const noexcept { return m_figures; }
    std::uint32_t figureSize(std::uint32_t k) const noexcept;
    std::uint32_t pointCount() const noexcept { return m_total; }
    POINT point(std::uint32_t i) const noexcept;

private:
    const ByteReader* m_r = nullptr;
    bool m_small = false, m_line = false, m_multi = false;
    std::uint32_t m_figures = 0, m_total = 0;
    std::uint64_t m_countsAt = 0, m_pointsAt = 0;
};

/// The source block of a bitmap record (EMR_BITBLT, EMR_STRETCHDIBITS) as a 32-bit surface: the device-
/// independent bitmap at offBmi (header, colours) and offBits (pixels) decoded, and the rectangle of it
/// that src gives (left, top, then width and height in right and bottom; rows counted from the top of the
/// picture) cut out. False for a bitmap that does not decode or a rectangle that leaves it.
bool readBitmapBlock(const ByteReader& r, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                     std::uint32_t cbBits, RECT src, Surface& block);

} // namespace QOR::detail::emf
