#include "qor/slide/slide_library.h"
#include "qor/slide/slide_library_p.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "qor/kernel/base/status.h"
#include "qor/platform/file_io_p.h"
#include "qor/platform/le_bytes_p.h"

namespace QOR::detail {

namespace {

/// The characters of code page 1252's bytes 0x80 to 0x9F that differ from Latin-1; the five positions
/// the code page leaves undefined map to themselves, as Windows converts them.
struct Pair1252 {
    std::uint16_t code;
    unsigned char byte;
};
constexpr Pair1252 kHigh1252[] = {
    {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
    {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
    {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
    {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
    {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F}};

/// Code page 1252 byte of a character, or 0 when the code page has none.
unsigned char byteOf1252(wchar_t c) noexcept {
    const auto u = std::uint32_t(c);
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<unsigned char>(u);
    if (u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D) return static_cast<unsigned char>(u);
    for (const Pair1252& p : kHigh1252)
        if (p.code == u) return p.byte;
    return 0;
}

/// Upper case of a code page 1252 byte.
unsigned char upper1252(unsigned char b) noexcept {
    if (b >= 'a' && b <= 'z') return static_cast<unsigned char>(b - 0x20);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<unsigned char>(b - 0x20);
    switch (b) {
    case 0x9A:
        return 0x8A; // s caron
    case 0x9C:
        return 0x8C; // oe
    case 0x9E:
        return 0x8E; // z caron
    case 0xFF:
        return 0x9F; // y diaeresis
    default:
        return b;
    }
}

/// Decodes the directory entry at byte `at`; false when it is the terminator or does not fit in the
/// library, which both end the directory. name points into library.
bool directoryEntryAt(std::span<const unsigned char> library, std::size_t at, std::string_view& name,
                      std::uint32_t& offset) noexcept {
    if (at > library.size() || library.size() - at < kSlideLibraryEntryBytes) return false;
    const unsigned char* entry = library.data() + at;
    if (entry[0] == 0) return false;
    const void* nul = std::memchr(entry, 0, kSlideNameBytes);
    const std::size_t length =
        nul ? std::size_t(static_cast<const unsigned char*>(nul) - entry) : kSlideNameBytes;
    name = std::string_view(reinterpret_cast<const char*>(entry), length);
    offset = loadU32(entry + kSlideNameBytes);
    return true;
}

} // namespace

std::string toCodePage1252(const wchar_t* text) {
    std::string out;
    if (!text) return out;
    for (const wchar_t* p = text; *p; ++p) {
        const unsigned char b = byteOf1252(*p);
        out.push_back(b ? char(b) : '?');
    }
    return out;
}

std::wstring fromCodePage1252(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        wchar_t w = wchar_t(b);
        for (const Pair1252& p : kHigh1252)
            if (p.byte == b) w = wchar_t(p.code);
        out.push_back(w);
    }
    return out;
}

bool equalNoCase1252(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper1252(static_cast<unsigned char>(a[i])) != upper1252(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::vector<SlideLibraryEntry> readSlideLibraryDirectory(std::span<const unsigned char> library) {
    std::vector<SlideLibraryEntry> entries;
    std::string_view name;
    std::uint32_t offset = 0;
    for (std::size_t at = kSlideLibraryHeaderBytes; directoryEntryAt(library, at, name, offset);
         at += kSlideLibraryEntryBytes)
        entries.push_back({std::string(name), offset});
    return entries;
}

bool findSlideInLibrary(std::span<const unsigned char> library, std::string_view name,
                        std::span<const unsigned char>& slide) noexcept {
    if (name.size() >= kSlideNameBytes || name.empty()) return false;
    std::string_view entryName;
    std::uint32_t offset = 0;
    for (std::size_t at = kSlideLibraryHeaderBytes; directoryEntryAt(library, at, entryName, offset);
         at += kSlideLibraryEntryBytes) {
        if (!equalNoCase1252(entryName, name)) continue;
        const std::uint64_t begin = offset;
        std::uint64_t end = library.size();
        std::uint32_t nextOffset = 0;
        if (directoryEntryAt(library, at + kSlideLibraryEntryBytes, entryName, nextOffset))
            end = std::min<std::uint64_t>(nextOffset, library.size());
        if (begin > end) return false;
        slide = library.subspan(std::size_t(begin), std::size_t(end - begin));
        return true;
    }
    return false;
}

bool readSlideFile(const wchar_t* path, std::vector<unsigned char>& out) noexcept {
    if (!path) return false;
    return guarded(false, [&] { return readFileBytes(path, kMaxSlideFileBytes, out); });
}

bool readSlideFromLibrary(const wchar_t* library, const wchar_t* name,
                          std::vector<unsigned char>& out) noexcept {
    if (!library || !name) return false;
    return guarded(false, [&] {
        std::vector<unsigned char> bytes;
        if (!readFileBytes(library, kMaxSlideFileBytes, bytes)) return false;
        std::span<const unsigned char> slide;
        if (!findSlideInLibrary(bytes, toCodePage1252(name), slide)) return false;
        out.assign(slide.begin(), slide.end());
        return true;
    });
}

bool loadSlideBytes(const wchar_t* name, const wchar_t* library, std::vector<unsigned char>& out) noexcept {
    // Read into a buffer of its own: a failed file read may leave part of the file behind.
    std::vector<unsigned char> bytes;
    const bool read = library ? readSlideFromLibrary(library, name, bytes) : readSlideFile(name, bytes);
    if (read)
        out = std::move(bytes);
    else
        out.clear();
    return read;
}

std::vector<unsigned char> copySlideBytes(const void* data, int size) noexcept {
    std::vector<unsigned char> bytes;
    if (!data || size <= 0) return bytes;
    const auto* begin = static_cast<const unsigned char*>(data);
    if (!guarded(false, [&] {
            bytes.assign(begin, begin + size);
            return true;
        }))
        bytes.clear();
    return bytes;
}

} // namespace QOR::detail

namespace QOR {

bool slideLibraryNames(const wchar_t* library, std::vector<std::wstring>& names) noexcept {
    if (!library) return false;
    return detail::guardedAt("QOR::slideLibraryNames", false, [&] {
        std::vector<unsigned char> bytes;
        if (!detail::readFileBytes(library, detail::kMaxSlideFileBytes, bytes)) return false;
        std::vector<std::wstring> found;
        for (const detail::SlideLibraryEntry& entry : detail::readSlideLibraryDirectory(bytes))
            if (entry.name.size() < detail::kSlideNameBytes)
                found.push_back(detail::fromCodePage1252(entry.name));
        names = std::move(found);
        return true;
    });
}

} // namespace QOR
