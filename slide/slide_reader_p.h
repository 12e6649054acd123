#pragma once

// Decoding of AutoCAD slide bytes: the header and the stream of drawing records. The painter (slide.h)
// and the display-list converter (gdx_sld.h) both walk a slide through SlideRecordReader, so that the
// two agree on every byte.
//
// Conventions
//  - Slide space: the slide's pixel grid, int coordinates kept to signed 16 bits (offsets wrap modulo
//    2^16 as the format stores them), y grows upwards; (0, 0) is the bottom-left corner and the header's
//    high X and Y dots are the top-right one.
//  - Byte order: the level-2 header stores a test number. Read little-endian it is 0x1234 on a
//    little-endian slide; then the width and height are little-endian too, otherwise big-endian. Record
//    words are little-endian and byte-swapped only when the test number reads 0x3412. A test number
//    that is neither swaps no record word but still reads the size big-endian.
//  - Level-1 slides have no test number; they are read as little-endian throughout, the order of the
//    machines that wrote the old format. Nothing carries over from a slide read earlier.
//  - Reading past the end gives the word 0xFCFC (an end-of-file record) and the byte 0, so truncated
//    data end the drawing at the point of truncation and never read outside the bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace QOR::detail {

/// Header lengths: 23 common bytes, then level 2 adds aspect (4), hardware fill (2), test number (2);
/// level 1 adds a double aspect (8) and 3 bytes.
constexpr std::size_t kSlideCommonHeaderBytes = 23;
constexpr std::size_t kSlideHeaderBytesLevel1 = 34;
constexpr std::size_t kSlideHeaderBytesLevel2 = 31;
/// The test number of a little-endian level-2 slide, as read little-endian.
constexpr std::uint16_t kSlideTestLittle = 0x1234;
constexpr std::uint16_t kSlideTestBig = 0x3412;

struct SlideHeader {
    int level = 0;            ///< 1 or 2 for a slide that can be drawn
    std::uint16_t width = 0;  ///< high X dot
    std::uint16_t height = 0; ///< high Y dot
    std::uint16_t testNumber = kSlideTestLittle;
    std::size_t recordsAt = 0; ///< offset of the first record
    bool swapWords = false;    ///< record words are stored big-endian
};

/// Decodes the header (bytes past the end read as 0). Width and height are filled for any level (a
/// level other than 1 uses the level-2 layout); returns true only for level 1 or 2.
bool readSlideHeader(std::span<const unsigned char> data, SlideHeader& header) noexcept;

struct SlidePoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const SlidePoint&, const SlidePoint&) = default;
};

enum class SlideRecordKind { Vector, Fill, Color };

/// One drawing record. A fill's polygon is closed: its last point repeats the first.
struct SlideRecord {
    SlideRecordKind kind = SlideRecordKind::Vector;
    SlidePoint from;
    SlidePoint to;
    int color = 0;                   ///< colour index 0-255 (Color)
    std::vector<SlidePoint> polygon; ///< Fill; its capacity is reused from record to record
};

/// Walks the records after the header. Does not own the bytes; they must outlive the reader.
class SlideRecordReader {
public:
    SlideRecordReader(std::span<const unsigned char> data, const SlideHeader& header) noexcept
        : m_data(data), m_pos(header.recordsAt), m_swap(header.swapWords) {}

    /// Reads the next drawing record into record; false at an end-of-file record, an unknown opcode or
    /// the end of the data. Throws only std::bad_alloc (a fill's polygon).
    bool next(SlideRecord& record);
    /// Offset of the next unread byte (may lie past the end after a truncated record).
    std::size_t position() const noexcept { return m_pos; }

private:
    std::uint16_t word() noexcept;
    std::uint8_t byte() noexcept;
    int signedWord() noexcept { return std::int16_t(word()); }
    /// Reads the rest of a solid fill after its 0xFD00 word.
    void readFill(std::vector<SlidePoint>& polygon);

    std::span<const unsigned char> m_data;
    std::size_t m_pos;
    bool m_swap;
    SlidePoint m_last;
};

/// p + (dx, dy), each coordinate wrapped to signed 16 bits.
inline SlidePoint slideOffset(SlidePoint p, int dx, int dy) noexcept {
    return {std::int16_t(std::uint16_t(p.x + dx)), std::int16_t(std::uint16_t(p.y + dy))};
}

} // namespace QOR::detail
