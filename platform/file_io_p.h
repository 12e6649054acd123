#pragma once

// File helpers of the platform layer: wide paths to the UTF-8 names the file system takes, whole-file
// reads with a size limit, and atomic writes (a temporary file in the same folder, renamed over the target
// only when everything was written, so a reader never sees half a file).

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace QOR::detail {

/// UTF-8 form of a wide string (UTF-32 code points, or UTF-16 where wchar_t has 16 bits); invalid code
/// points become U+FFFD. Null gives "".
std::string utf8FromWide(const wchar_t* text);

/// Reads the whole file; false when it cannot be opened or read or is larger than maxBytes.
bool readFileBytes(const wchar_t* path, std::size_t maxBytes, std::vector<unsigned char>& out);

class AtomicFile {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    /// Removes the temporary file unless commit() succeeded.
    ~AtomicFile();

    /// Creates the temporary file next to path; returns its stream (owned by this object), or null.
    std::FILE* open(const wchar_t* path);
    /// Flushes, closes and renames the temporary file to the target; false (and the target untouched)
    /// when any step fails.
    bool commit();

private:
    std::FILE* m_file = nullptr;
    std::string m_target;
    std::string m_temp;
};

} // namespace QOR::detail
