#pragma once

// Regions: sets of device pixels (QOR::Region) and their owning GDI object (CRgn).
//
// Conventions
//  - Device space as in win_types.h. Rect regions take RECT edges (right/bottom outside); polygon regions
//    take the pixels the polygon fills (raster/scan_fill.h), so a polygon region and a filled polygon
//    cover the same pixels.
//  - Storage is y-x banded: bands of rows [y0, y1) sharing the same sorted, disjoint, non-touching
//    x-intervals [x0, x1). Bands are sorted, disjoint, and two bands that touch and have equal intervals
//    are merged, so equal pixel sets have equal storage.
//  - Polygon regions keep only rows in [-kRegionRowLimit, kRegionRowLimit): every row costs memory, and
//    no bitmap or metafile this library draws comes near that limit. Rect regions are exact.

#include <span>
#include <vector>

#include "qor/kernel/base/export.h"
#include "qor/platform/gdi_object.h"
#include "qor/platform/raster/scan_fill.h"

namespace QOR {

namespace detail {
constexpr int kRegionRowLimit = 1 << 18;
} // namespace detail

/// A set of device pixels: what a CRgn holds and what a device context clips to. A backend outside the
/// library receives the clip as one of these (CDC::selectClip) and reads it through the read interface
/// below; the building members are for the library's own device contexts and regions.
///
/// Reading it: bands() lists the bands top to bottom; band b covers rows [b.y0, b.y1) and, on each of
/// them, the b.count half-open intervals [xs()[b.first + 2 i], xs()[b.first + 2 i + 1]), left to right.
/// rects() gives the same pixels as rectangles, which suits a backend that clips by rectangles (cairo,
/// an EMF clip record); forEachSpan() walks them as row spans, which suits a rasteriser. Reading is
/// const and allocates nothing (rects() excepted, into the caller's vector).
class QOR_EXPORT Region {
public:
    struct Band {
        int y0;    ///< first row
        int y1;    ///< first row after the band
        int first; ///< index of the band's first x0 in xs() (its x1 follows)
        int count; ///< number of intervals
    };

    // Reading.
    bool isEmpty() const noexcept { return m_bands.empty(); }
    /// Smallest rect holding every pixel; all zero when empty.
    RECT bounds() const noexcept;
    /// NULLREGION, SIMPLEREGION (one rect) or COMPLEXREGION.
    int complexity() const noexcept;
    bool contains(int x, int y) const noexcept;
    bool operator==(const Region& o) const noexcept;
    std::span<const Band> bands() const noexcept { return m_bands; }
    std::span<const int> xs() const noexcept { return m_xs; }
    /// Index of the band holding row y, or -1. hint (a band index) speeds up nearby rows.
    int bandOf(int y, int hint = 0) const noexcept;
    /// The region as rectangles, band by band, left to right (the order of a region's data in a
    /// metafile); out is cleared first.
    void rects(std::vector<RECT>& out) const;
    /// Calls visit(y, x0, x1) for every row y of the region and each of its intervals [x0, x1) on that
    /// row, top to bottom, left to right.
    template <class Visit>
    void forEachSpan(Visit&& visit) const {
        for (const Band& band : m_bands)
            for (int y = band.y0; y < band.y1; ++y)
                for (int i = 0; i < band.count; ++i)
                    visit(y, m_xs[std::size_t(band.first + 2 * i)],
                          m_xs[std::size_t(band.first + 2 * i + 1)]);
    }

    // Building (the library's regions and device contexts).
    void setEmpty() noexcept;
    /// An empty rect gives the empty region.
    void setRect(const RECT& r);
    /// The pixels of the polygons filled by fillMode (ALTERNATE or WINDING); counts as for ScanFill.
    void setPolygons(std::span<const POINT> points, std::span<const int> counts, int fillMode,
                     detail::ScanFill& scratch);
    /// out = a op b, with op one of RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY (out = a). out may be a
    /// or b. False for an unknown op (out unchanged).
    static bool combine(const Region& a, const Region& b, int op, Region& out);
    /// What combine works in; kept by a caller that combines often, so that it allocates only to grow.
    struct CombineScratch {
        std::vector<int> ys;
        std::vector<int> row;
    };
    /// combine with the caller's scratch; out must be neither a nor b.
    static bool combine(const Region& a, const Region& b, int op, Region& out, CombineScratch& scratch);
    /// Moves by (dx, dy); coordinates are clamped to the device limit, pixels pushed beyond it are lost.
    void offset(int dx, int dy);
    /// Building row by row, rows increasing; spans as pairs (see Conventions).
    void beginBuild() noexcept { setEmpty(); }
    void addRows(int y0, int y1, std::span<const int> spans);

private:
    std::vector<Band> m_bands;
    std::vector<int> m_xs;
};

} // namespace QOR

/// A region object. Unlike GDI, a region that is not created yet may be the destination of CombineRgn and
/// CopyRgn; it is created by them.
class QOR_EXPORT CRgn : public CGdiObject {
public:
    CRgn() = default;
    ~CRgn() override;

    BOOL CreateRectRgn(int x1, int y1, int x2, int y2) noexcept;
    BOOL CreateRectRgnIndirect(const RECT* lpRect) noexcept;
    /// nMode ALTERNATE or WINDING; at least 2 points.
    BOOL CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode) noexcept;
    /// nCount polygons of lpPolyCounts[i] points each, filled together by nPolyFillMode (so an inner
    /// polygon is a hole with ALTERNATE).
    BOOL CreatePolyPolygonRgn(const POINT* lpPoints, const int* lpPolyCounts, int nCount,
                              int nPolyFillMode) noexcept;
    /// Makes this region pRgn1 op pRgn2 (pRgn2 is ignored for RGN_COPY). Returns the new complexity, or
    /// RGN_ERROR with this region unchanged.
    int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode) noexcept;
    int CopyRgn(const CRgn* pRgnSrc) noexcept;
    /// Returns the new complexity, or RGN_ERROR when not created.
    int OffsetRgn(int x, int y) noexcept;
    /// Bounding box and complexity; RGN_ERROR when not created.
    int GetRgnBox(RECT* lpRect) const noexcept;
    BOOL PtInRegion(int x, int y) const noexcept;
    BOOL EqualRgn(const CRgn* pRgn) const noexcept;
    BOOL SetRectRgn(int x1, int y1, int x2, int y2) noexcept;
    BOOL DeleteObject() noexcept override;

    const QOR::Region& region() const noexcept { return m_region; }

private:
    QOR::Region m_region;
};
