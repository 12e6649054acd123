#pragma once

// Builds slide files and slide libraries byte by byte for tests: both levels, both byte orders, every
// record kind, and raw words for malformed input. Records are appended in call order; bytes() adds the
// end-of-file record unless end(false) said not to.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

struct SlideVertex {
    int x;
    int y;
};

class SlideWriter {
public:
    /// level 1 (old format, always little-endian) or 2; bigEndian applies to level 2.
    explicit SlideWriter(int width = 100, int height = 50, int level = 2, bool bigEndian = false)
        : m_big(level == 2 && bigEndian) {
        const char id[] = "AutoCAD Slide\r\n\x1a";
        m_bytes.assign(id, id + 17);
        m_bytes.push_back(0x56);
        m_bytes.push_back(std::uint8_t(level));
        word(width);
        word(height);
        if (level == 1) {
            double aspect = 1.5;
            unsigned char raw[8];
            std::memcpy(raw, &aspect, 8);
            m_bytes.insert(m_bytes.end(), raw, raw + 8);
            m_bytes.insert(m_bytes.end(), {0, 0, 0});
        } else {
            const int aspect = 15000000; // 1.5 x 10^7
            if (m_big)
                word(aspect >> 16).word(aspect & 0xFFFF);
            else
                word(aspect & 0xFFFF).word(aspect >> 16);
            word(0);
            // The test number: 0x1234 read little-endian on a little-endian slide.
            if (m_big)
                m_bytes.insert(m_bytes.end(), {0x12, 0x34});
            else
                m_bytes.insert(m_bytes.end(), {0x34, 0x12});
        }
        m_headerSize = m_bytes.size();
    }

    SlideWriter& word(int value) {
        const auto w = std::uint16_t(value);
        if (m_big) {
            m_bytes.push_back(std::uint8_t(w >> 8));
            m_bytes.push_back(std::uint8_t(w));
        } else {
            m_bytes.push_back(std::uint8_t(w));
            m_bytes.push_back(std::uint8_t(w >> 8));
        }
        return *this;
    }
    SlideWriter& byte(int value) {
        m_bytes.push_back(std::uint8_t(value));
        return *this;
    }

    SlideWriter& vector(int x0, int y0, int x1, int y1) { return word(x0).word(y0).word(x1).word(y1); }
    SlideWriter& offsetVector(int dx0, int dy0, int dx1, int dy1) {
        return word(0xFB00 | (dx0 & 0xFF)).byte(dy0).byte(dx1).byte(dy1);
    }
    SlideWriter& commonEndpoint(int dx, int dy) { return word(0xFE00 | (dx & 0xFF)).byte(dy); }
    SlideWriter& color(int index) { return word(0xFF00 | (index & 0xFF)); }
    /// A solid fill as AutoCAD writes it: start record with the count, one record per vertex, closing
    /// record. announced overrides the count of the start record; closing false leaves that record out.
    SlideWriter& fill(const std::vector<SlideVertex>& vertices, int announced = -1, bool closing = true) {
        word(0xFD00).word(announced < 0 ? int(vertices.size()) : announced).word(-1);
        for (const SlideVertex& v : vertices)
            word(0xFD00).word(v.x).word(v.y);
        if (closing) word(0xFD00).word(0).word(-1);
        return *this;
    }
    SlideWriter& end(bool write = true) {
        m_end = write;
        return *this;
    }

    std::size_t headerSize() const { return m_headerSize; }
    std::vector<unsigned char> bytes() const {
        std::vector<unsigned char> out = m_bytes;
        if (m_end) {
            // 0xFC00 in the slide's byte order.
            if (m_big)
                out.insert(out.end(), {0xFC, 0x00});
            else
                out.insert(out.end(), {0x00, 0xFC});
        }
        return out;
    }

private:
    bool m_big;
    bool m_end = true;
    std::size_t m_headerSize = 0;
    std::vector<unsigned char> m_bytes;
};

/// A slide library of the slides in order, names written as given (bytes, cut or padded to 32).
inline std::vector<unsigned char>
slideLibrary(const std::vector<std::pair<std::string, std::vector<unsigned char>>>& slides) {
    std::vector<unsigned char> out(32, 0);
    const char id[] = "AutoCAD Slide Library 1.0\r\n\x1a";
    std::memcpy(out.data(), id, sizeof(id) - 1);
    std::uint32_t offset = std::uint32_t(32 + 36 * (slides.size() + 1));
    for (const auto& [name, data] : slides) {
        std::vector<unsigned char> entry(36, 0);
        std::memcpy(entry.data(), name.data(), std::min<std::size_t>(name.size(), 32));
        for (int i = 0; i < 4; ++i)
            entry[32 + i] = std::uint8_t(offset >> (8 * i));
        out.insert(out.end(), entry.begin(), entry.end());
        offset += std::uint32_t(data.size());
    }
    out.insert(out.end(), 36, 0);
    for (const auto& slide : slides)
        out.insert(out.end(), slide.second.begin(), slide.second.end());
    return out;
}
