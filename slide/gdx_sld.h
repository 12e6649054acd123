#pragma once

// CGdxSld: turns an AutoCAD slide into display-list items instead of painting it. Every vector becomes a
// one-segment polyline item, every solid fill a filled region item, in slide space (slide_reader_p.h: the
// slide's pixels, y up, z = 0) under the caller's matrix, so that the slide zooms and exports like any
// other display list. Colours stay AutoCAD colour indices.
//
// It is a short-lived object: load a slide, convert it, drop it. It holds its own bytes and shares no
// state with a painter (slide.h).

#include <vector>

#include "qor/gdx/gdx.h"
#include "qor/kernel/base/export.h"
#include "qor/kernel/data/data_item.h"

namespace QOR {

class QOR_EXPORT CGdxSld {
public:
    CGdxSld() noexcept;
    ~CGdxSld();
    CGdxSld(const CGdxSld&) = delete;
    CGdxSld& operator=(const CGdxSld&) = delete;

    /// With library: slide `name` from that slide library (converted to code page 1252, compared ignoring
    /// case; see slide_library_p.h). Without: name is the path of a slide file. Replaces what was held;
    /// returns whether slide data are held afterwards.
    bool load(const wchar_t* name, const wchar_t* library) noexcept;
    /// A copy of size bytes of data (none when data is null or size is not positive).
    void load(const void* data, int size) noexcept;
    bool hasData() const noexcept { return !m_data.empty(); }

    /// Appends the slide's items to gdx. Each item gets the item path P + {k} for the k-th item (1, 2,
    /// ...), where P is parm's "STACK" (an int array or a single int; empty when missing), and the matrix
    /// parm's "MTX" (identity when missing). Vectors become imageVl items with `flags`, fills imageReg
    /// items with flags | GdxItemFill whose outline runs counter-clockwise about Z (a clockwise one is
    /// reversed), both in the colour index last set by the slide (no colour before the first colour
    /// record), line type {1.0}, line-type scale 1.0, thickness 0, anchor at the origin. parm may be null.
    /// True when at least one item was added; false for a null gdx, no slide or a level that cannot be
    /// read.
    bool convert(CQorGDX* gdx, DWORD flags, const CQorDataItem* parm) noexcept;

private:
    bool convertRecords(CQorGDX& gdx, DWORD flags, const CQorDataItem* parm);

    std::vector<unsigned char> m_data;
};

} // namespace QOR
