#pragma once

// Where slide bytes come from: slide files and slide libraries (.slb).
//
// A slide library is a 32-byte header (not checked), then a directory of 36-byte entries: a slide name of
// 32 bytes (code page 1252, NUL-padded, not necessarily NUL-terminated) and the little-endian 32-bit file
// offset of that slide's data. An entry whose name begins with NUL ends the directory, as does the end of
// the file. A slide's data run from its offset to the next entry's offset, or to the end of the file when
// the next entry ends the directory.
//
// Names are compared in code page 1252, ignoring letter case (ASCII and the Latin letters of the code
// page). A name that takes 32 bytes or more can never match: the directory has no room for its end.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace QOR::detail {

/// Largest slide or slide library read from disk; larger files are refused rather than read.
constexpr std::size_t kMaxSlideFileBytes = std::size_t(1) << 30;
constexpr std::size_t kSlideLibraryHeaderBytes = 32;
constexpr std::size_t kSlideLibraryEntryBytes = 36;
constexpr std::size_t kSlideNameBytes = 32;

struct SlideLibraryEntry {
    std::string name;         ///< code page 1252, without padding
    std::uint32_t offset = 0; ///< file offset of the slide data
};

/// The directory entries up to the terminator or the end of the bytes (a partial entry at the end is
/// dropped). Throws only std::bad_alloc.
std::vector<SlideLibraryEntry> readSlideLibraryDirectory(std::span<const unsigned char> library);

/// Looks `name` (code page 1252) up in the library bytes; on a match sets slide to the slide's bytes
/// (inside library) and returns true. False when the name is not there, is 32 bytes or longer, or its
/// entry points outside the library or past the next slide.
bool findSlideInLibrary(std::span<const unsigned char> library, std::string_view name,
                        std::span<const unsigned char>& slide) noexcept;

/// Converts text to code page 1252; characters it cannot hold become '?'. Null gives "". Throws only
/// std::bad_alloc.
std::string toCodePage1252(const wchar_t* text);

/// The characters of code page 1252 text (a byte the code page leaves undefined stands for itself).
/// Throws only std::bad_alloc.
std::wstring fromCodePage1252(std::string_view text);

/// Equal ignoring letter case in code page 1252.
bool equalNoCase1252(std::string_view a, std::string_view b) noexcept;

/// Reads a slide file whole; false when it cannot be read or is too large.
bool readSlideFile(const wchar_t* path, std::vector<unsigned char>& out) noexcept;

/// Reads slide `name` (converted to code page 1252) from the library file; false when the library
/// cannot be read or the name is not found. out is changed only on success.
bool readSlideFromLibrary(const wchar_t* library, const wchar_t* name,
                          std::vector<unsigned char>& out) noexcept;

/// Reads the slide file `name` (library null) or slide `name` of the library file into out; on failure
/// out is left empty and the result is false. The loaders of the painter and the converter share it.
bool loadSlideBytes(const wchar_t* name, const wchar_t* library, std::vector<unsigned char>& out) noexcept;

/// A copy of size bytes at data; empty for null data, a size of 0 or less, or when memory runs out.
std::vector<unsigned char> copySlideBytes(const void* data, int size) noexcept;

} // namespace QOR::detail
