#include "qor/slide/slide_reader_p.h"

namespace QOR::detail {

namespace {

std::uint8_t byteAt(std::span<const unsigned char> data, std::size_t at) noexcept {
    return at < data.size() ? data[at] : 0;
}

std::uint16_t littleAt(std::span<const unsigned char> data, std::size_t at) noexcept {
    return std::uint16_t(byteAt(data, at) | (byteAt(data, at + 1) << 8));
}

std::uint16_t bigAt(std::span<const unsigned char> data, std::size_t at) noexcept {
    return std::uint16_t((byteAt(data, at) << 8) | byteAt(data, at + 1));
}

// Header fields: the 17-byte identification string and a type byte come first; the common part ends with
// the size. Level 2 then stores the aspect ratio (4 bytes) and the hardware-fill flag (2) before its test
// number.
constexpr std::size_t kLevelAt = 18;
constexpr std::size_t kWidthAt = 19;
constexpr std::size_t kHeightAt = 21;
static_assert(kHeightAt + 2 == kSlideCommonHeaderBytes);
constexpr std::size_t kTestNumberAt = kSlideCommonHeaderBytes + 4 + 2;

// Record opcodes (the high byte of a record's first word); 0x00-0x7F is a vector.
constexpr int kOpOffsetVector = 0xFB;
constexpr int kOpEnd = 0xFC;
constexpr int kOpFill = 0xFD;
constexpr int kOpCommonEndpoint = 0xFE;
constexpr int kOpColor = 0xFF;

} // namespace

bool readSlideHeader(std::span<const unsigned char> data, SlideHeader& header) noexcept {
    header = SlideHeader();
    header.level = byteAt(data, kLevelAt);
    if (header.level == 1) {
        header.testNumber = kSlideTestLittle;
        header.recordsAt = kSlideHeaderBytesLevel1;
    } else {
        header.testNumber = littleAt(data, kTestNumberAt);
        header.recordsAt = kSlideHeaderBytesLevel2;
    }
    const bool littleSize = header.testNumber == kSlideTestLittle;
    header.width = littleSize ? littleAt(data, kWidthAt) : bigAt(data, kWidthAt);
    header.height = littleSize ? littleAt(data, kHeightAt) : bigAt(data, kHeightAt);
    header.swapWords = header.testNumber == kSlideTestBig;
    return header.level == 1 || header.level == 2;
}

std::uint16_t SlideRecordReader::word() noexcept {
    // A word that does not fit reads as an end-of-file record; the position still moves on so that
    // every later read also lands past the end.
    if (m_pos > m_data.size() || m_data.size() - m_pos < 2) {
        m_pos += 2;
        return 0xFCFC;
    }
    const std::uint16_t w = m_swap ? bigAt(m_data, m_pos) : littleAt(m_data, m_pos);
    m_pos += 2;
    return w;
}

std::uint8_t SlideRecordReader::byte() noexcept {
    const std::uint8_t b = byteAt(m_data, m_pos);
    ++m_pos;
    return b;
}

bool SlideRecordReader::next(SlideRecord& record) {
    const std::uint16_t head = word();
    const int op = head >> 8;
    const int low = std::int8_t(head & 0xFF);
    if (op <= 0x7F) {
        record.kind = SlideRecordKind::Vector;
        record.from.x = std::int16_t(head);
        record.from.y = signedWord();
        record.to.x = signedWord();
        record.to.y = signedWord();
        m_last = record.from;
        return true;
    }
    switch (op) {
    case kOpOffsetVector: {
        // Both ends are offsets from the last point as it was before this record.
        const int dy0 = std::int8_t(byte());
        const int dx1 = std::int8_t(byte());
        const int dy1 = std::int8_t(byte());
        record.kind = SlideRecordKind::Vector;
        record.from = slideOffset(m_last, low, dy0);
        record.to = slideOffset(m_last, dx1, dy1);
        m_last = record.from;
        return true;
    }
    case kOpCommonEndpoint: {
        const int dy = std::int8_t(byte());
        record.kind = SlideRecordKind::Vector;
        record.from = m_last;
        record.to = slideOffset(m_last, low, dy);
        m_last = record.to;
        return true;
    }
    case kOpColor:
        record.kind = SlideRecordKind::Color;
        record.color = head & 0xFF;
        return true;
    case kOpFill:
        if (low != 0) return false;
        record.kind = SlideRecordKind::Fill;
        readFill(record.polygon);
        return true;
    case kOpEnd:
    default:
        return false;
    }
}

void SlideRecordReader::readFill(std::vector<SlidePoint>& polygon) {
    polygon.clear();
    const int count = signedWord();
    signedWord(); // the start record's y, negative by convention and not needed
    word();       // each vertex record repeats the 0xFD00 word, which is not checked
    SlidePoint first;
    first.x = signedWord();
    first.y = signedWord();
    polygon.push_back(first);
    int lastY = first.y;
    bool endedEarly = false;
    for (int i = 2; i <= count; ++i) {
        word();
        const int x = signedWord();
        lastY = signedWord();
        if (lastY < 0) {
            // A negative y is the writer's closing record: fewer vertices than announced.
            endedEarly = true;
            break;
        }
        polygon.push_back({x, lastY});
    }
    if (!endedEarly && lastY >= 0) {
        word();
        word();
        word(); // the closing record
    }
    polygon.push_back(first);
}

} // namespace QOR::detail
