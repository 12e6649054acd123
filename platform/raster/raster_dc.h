#pragma once

// CRasterDC: a memory device context that draws into the bitmap selected into it, following GDI's pixel
// rules. The front end (CDC, platform/dc.h) keeps the state; this backend turns each verb into spans
// (scan_fill.h, stroke_p.h, ellipse_p.h) and writes them through one SpanSink (span_ops.h).
//
// Conventions (each rule has an edge-pixel test in tests/platform/)
//  - Device space as in win_types.h; coordinates arrive clamped to kDeviceLimit.
//  - Lines: a one-pixel pen (width 0 or 1) paints the Bresenham pixels of stroke_p.h, the end point
//    excluded: LineTo(10, 0) from (0, 0) paints x = 0 .. 9. Polyline paints every segment so, hence its
//    last point is not painted but every inner point is (as the first pixel of the next segment).
//  - Wide pens (width >= 2) paint round-capped strokes of that width centred on the line (stroke_p.h); the
//    end point is inside the cap. Joins are round.
//  - Polygons: the interior (scan_fill.h: pixels whose sample point is inside by the fill mode; right and
//    bottom edges excluded) with the brush, then each closed outline with the pen as lines. With a one-pixel
//    pen the polygon (0,0) (10,0) (10,10) (0,10) therefore covers x, y = 0 .. 10 (the outline adds the right
//    and bottom lines); without a pen, 0 .. 9.
//  - Rectangle(l, t, r, b): with a one-pixel pen, the outline is the pixels of columns l and r - 1 and
//    rows t and b - 1, the interior [l + 1, r - 1) x [t + 1, b - 1) is brushed. With a null pen GDI
//    brushes [l, r - 1) x [t, b - 1): one pixel less in both directions. With a wide pen the interior
//    [l, r) x [t, b) is brushed and the closed path (l, t) (r - 1, t) (r - 1, b - 1) (l, b - 1) stroked.
//  - Ellipse(l, t, r, b): the inside pixels of ellipse_p.h with the brush and the one-pixel outline of
//    ellipse_p.h with the pen, so the figure covers at most [l, r) x [t, b). A wide pen strokes the closed
//    curve through the outline's pixel centres (laid out as segments of about 4 pixels).
//  - FillSolidRect and FillRect fill [l, r) x [t, b).
//  - Everything is clipped to the bitmap and to the selected clip region. A DC without a bitmap draws
//    nothing and its drawing calls fail.
//  - Colours on a monochrome bitmap: pens, brushes and SetPixel become white when the sum of the three
//    components is at least 383, else black.
//  - BitBlt between formats follows GDI (see CDC::BitBlt): colour to monochrome, 1 where the source pixel
//    equals the source DC's background colour; monochrome to colour, 1 becomes the destination DC's
//    background colour and 0 its text colour. Source and destination may be the same bitmap and overlap.

#include <vector>

#include "qor/kernel/base/export.h"
#include "qor/platform/dc.h"
#include "qor/platform/raster/scan_fill.h"
#include "qor/platform/raster/span_ops.h"

class QOR_EXPORT CRasterDC : public CDC {
public:
    /// A null device until CreateCompatibleDC.
    CRasterDC() noexcept;
    ~CRasterDC() override;

    /// Makes this a memory device context without a bitmap; select one before drawing. pDC may be null
    /// (every raster DC is compatible with every other). False when already created.
    BOOL CreateCompatibleDC(CDC* pDC) noexcept;

    /// The rows that drawing through this device context wrote since the last call (or since it was
    /// made), as [top, bottom): every pixel written lies in them, whichever bitmap was selected; top >=
    /// bottom when nothing was written. Counting starts afresh. A caller that keeps a bitmap clean
    /// between uses clears and reads just these rows.
    std::pair<int, int> takeWrittenRows() noexcept { return m_sink.takeTouchedRows(); }

protected:
    Status selectPen(const LOGPEN& pen, int stockIndex) override;
    Status selectBrush(const LOGBRUSH& brush, int stockIndex) override;
    Status selectClip(const QOR::Region* clip) override;
    Status setAttributes(const QOR::detail::DcAttributes& attributes) override;
    Status selectBitmap(const QOR::detail::Surface* surface) override;

    Status strokeSegment(POINT from, POINT to) override;
    Status polyline(std::span<const POINT> points) override;
    Status polyPolygon(std::span<const POINT> points, std::span<const int> counts) override;
    Status ellipse(const RECT& box) override;
    Status rectangle(const RECT& box) override;
    Status fillSolidRect(const RECT& rect, COLORREF color) override;
    Status setPixel(POINT point, COLORREF color, COLORREF& actual) override;
    Status getPixel(POINT point, COLORREF& color) const override;
    Status bitBlt(const RECT& dst, const QOR::detail::BlitSource* src, POINT srcOrigin, DWORD rop) override;

private:
    /// Binds the sink to the current bitmap and clip (again only after a selection changed them); false
    /// when nothing can be drawn.
    bool bindSink();
    bool usesPen() const noexcept { return pen().lopnStyle != PS_NULL; }
    bool usesBrush() const noexcept { return brush().lbStyle != BS_NULL; }
    int penWidth() const noexcept { return pen().lopnWidth.x; }
    /// Strokes the segments between consecutive points (and back to the first when closed) with the pen.
    void strokePath(std::span<const POINT> points, bool closed);
    /// Fills [l, r) x [t, b), cut to the sink's box, in the sink's colour.
    void fillBox(RECT r);
    bool visible(POINT p) const noexcept;

    QOR::detail::SpanSink m_sink;
    bool m_sinkStale = true;  // a bitmap or clip was selected since the sink was bound
    bool m_sinkReady = false; // what the last binding returned
    QOR::detail::ScanFill m_scan;
    // Scratch kept between calls (capacity stays).
    std::vector<std::uint32_t> m_row32;
    std::vector<unsigned char> m_row1;
    QOR::detail::Surface m_blitCopy;
};
