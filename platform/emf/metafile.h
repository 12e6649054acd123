#pragma once

// CEnhMetaFile: a finished enhanced metafile held in memory, the owning handle that GDI calls
// HENHMETAFILE. CMetaFileDC (emf_dc.h) makes one; the player (emf_player.h) draws one; the clipboard
// (platform/clipboard.h) carries one.
//
// A handle owns its bytes. It can be moved (ownership passes) but not copied; CopyEnhMetaFile makes an
// independent copy. A default-constructed or moved-from handle is null and every function given it fails.

#include <cstdint>
#include <span>
#include <vector>

#include "qor/kernel/base/export.h"
#include "qor/platform/win_types.h"

/// What the header of a metafile says, in its own units.
struct EnhMetaHeader {
    RECT bounds;    // device pixels, inclusive; {0, 0, -1, -1} for a picture without drawing
    RECT frameHimm; // 0.01 mm, inclusive
    SIZE devicePx;  // reference device size in pixels
    SIZE deviceMm;  // reference device size in millimetres
    DWORD bytes;    // size of the whole metafile
    DWORD records;  // number of records, header and end record included
    WORD handles;   // entries of the object table, index 0 included
};

class QOR_EXPORT CEnhMetaFile {
public:
    CEnhMetaFile() noexcept = default;
    CEnhMetaFile(CEnhMetaFile&& other) noexcept;
    CEnhMetaFile& operator=(CEnhMetaFile&& other) noexcept;
    CEnhMetaFile(const CEnhMetaFile&) = delete;
    CEnhMetaFile& operator=(const CEnhMetaFile&) = delete;
    ~CEnhMetaFile();

    /// A metafile of these bytes when they start with a valid header whose size field they cover (the
    /// records themselves are checked by whoever plays them); else null.
    static CEnhMetaFile fromBytes(std::span<const unsigned char> bytes) noexcept;

    bool isNull() const noexcept { return m_bytes.empty(); }
    explicit operator bool() const noexcept { return !isNull(); }
    /// The metafile's bytes (empty when null); valid while the handle lives and is not moved from.
    std::span<const unsigned char> bytes() const noexcept { return m_bytes; }
    /// Reads the header; false when null.
    bool header(EnhMetaHeader& info) const noexcept;

private:
    friend class CMetaFileDC;
    explicit CEnhMetaFile(std::vector<unsigned char>&& bytes) noexcept : m_bytes(std::move(bytes)) {}

    std::vector<unsigned char> m_bytes;
};

using HENHMETAFILE = CEnhMetaFile;

/// Reads a metafile file; null when it is missing, malformed or larger than 1 GiB.
QOR_EXPORT HENHMETAFILE GetEnhMetaFileW(const wchar_t* lpszMetaFile) noexcept;
/// Copies the metafile; with a path, also writes it there (atomically). Null when hemf is null or
/// writing fails.
QOR_EXPORT HENHMETAFILE CopyEnhMetaFileW(const HENHMETAFILE& hemf, const wchar_t* lpszFile) noexcept;
/// Releases the metafile; false when it was already null.
QOR_EXPORT BOOL DeleteEnhMetaFile(HENHMETAFILE& hemf) noexcept;
