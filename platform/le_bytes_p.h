#pragma once

// Little-endian byte access for the binary formats of the platform layer (BMP, ICO, EMF): a bounds-checked
// reader over bytes the library does not own, and a growing writer. Every read that would pass the end
// answers false and leaves the value untouched, so a parser checks once per field and never reads past
// its input.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace QOR::detail {

inline std::uint16_t loadU16(const unsigned char* p) noexcept {
    return std::uint16_t(p[0] | (p[1] << 8));
}
inline std::uint32_t loadU32(const unsigned char* p) noexcept {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
inline std::int32_t loadI32(const unsigned char* p) noexcept {
    return std::int32_t(loadU32(p));
}
inline std::int16_t loadI16(const unsigned char* p) noexcept {
    return std::int16_t(loadU16(p));
}

/// Reads fields at byte offsets of a span; does not own the bytes.
class ByteReader {
public:
    explicit ByteReader(std::span<const unsigned char> bytes) noexcept : m_bytes(bytes) {}

    std::size_t size() const noexcept { return m_bytes.size(); }
    /// True when [offset, offset + count) lies inside; safe for any offset and count.
    bool has(std::uint64_t offset, std::uint64_t count) const noexcept {
        return offset <= m_bytes.size() && count <= m_bytes.size() - offset;
    }
    bool u16(std::uint64_t offset, std::uint16_t& v) const noexcept {
        if (!has(offset, 2)) return false;
        v = loadU16(m_bytes.data() + offset);
        return true;
    }
    bool u32(std::uint64_t offset, std::uint32_t& v) const noexcept {
        if (!has(offset, 4)) return false;
        v = loadU32(m_bytes.data() + offset);
        return true;
    }
    bool i32(std::uint64_t offset, std::int32_t& v) const noexcept {
        if (!has(offset, 4)) return false;
        v = loadI32(m_bytes.data() + offset);
        return true;
    }
    /// The bytes [offset, offset + count), or an empty span when they do not all exist.
    std::span<const unsigned char> sub(std::uint64_t offset, std::uint64_t count) const noexcept {
        if (!has(offset, count)) return {};
        return m_bytes.subspan(std::size_t(offset), std::size_t(count));
    }
    const unsigned char* data() const noexcept { return m_bytes.data(); }

private:
    std::span<const unsigned char> m_bytes;
};

/// Appends little-endian fields to a byte vector it does not own. Allocation failure throws
/// std::bad_alloc; callers run inside guarded().
class ByteWriter {
public:
    explicit ByteWriter(std::vector<unsigned char>& out) noexcept : m_out(out) {}

    std::size_t size() const noexcept { return m_out.size(); }
    void u16(std::uint32_t v) {
        const unsigned char b[2] = {(unsigned char)(v), (unsigned char)(v >> 8)};
        m_out.insert(m_out.end(), b, b + 2);
    }
    void u32(std::uint32_t v) {
        const unsigned char b[4] = {(unsigned char)(v), (unsigned char)(v >> 8), (unsigned char)(v >> 16),
                                    (unsigned char)(v >> 24)};
        m_out.insert(m_out.end(), b, b + 4);
    }
    void i32(std::int32_t v) { u32(std::uint32_t(v)); }
    void i16(std::int32_t v) { u16(std::uint32_t(v) & 0xFFFF); }
    void bytes(std::span<const unsigned char> b) { m_out.insert(m_out.end(), b.begin(), b.end()); }
    void zeros(std::size_t n) { m_out.insert(m_out.end(), n, 0); }
    /// Overwrites a field written earlier.
    void patchU32(std::size_t offset, std::uint32_t v) noexcept {
        for (int i = 0; i < 4; ++i)
            m_out[offset + std::size_t(i)] = (unsigned char)(v >> (8 * i));
    }

private:
    std::vector<unsigned char>& m_out;
};

} // namespace QOR::detail
