#pragma once

// CMetaFileDC: a device context that records every drawing call as enhanced-metafile records
// (emf_records_p.h) instead of drawing. The front end (CDC) keeps the state and calls one verb per call; each
// verb appends its records. Closing gives a CEnhMetaFile (metafile.h) and, when a file was named, writes it.
//
// Conventions
//  - Device space as in win_types.h, recorded as is (identity transform, MM_TEXT). The reference device is
//    a 96 dpi screen (emf_records_p.h).
//  - Pens and brushes become object records in a small table of handles: a new pen is created in the
//    free one of two pen slots, selected, and the one it replaces deleted (brushes likewise); stock
//    objects are selected as stock objects. Only solid and null pens are recorded: dashes reach the DC
//    already laid out as segments.
//  - Clipping is recorded as the resulting region (EMR_EXTSELECTCLIPRGN, RGN_COPY), so a player needs no
//    clip state of its own to reproduce it. SaveDC/RestoreDC are recorded as the selections they restore.
//  - Bitmaps are recorded as EMR_STRETCHDIBITS with the source block as a DIB; a monochrome source gets
//    the colour table {text colour, background colour} of this DC, the colours the raster backend gives
//    its 0 and 1 bits. ROPs without a source become EMR_BITBLT without a bitmap. FillSolidRect and
//    FillRect become EMR_FILLRGN with a temporary brush.
//  - Bounds: each drawing record carries the inclusive pixel box of its shape (a wide pen adds half its
//    width), and the header the union of those boxes cut to the clip region. Without a frame given to
//    CreateEnhanced the frame is the pixel box [left, right + 1) x [top, bottom + 1) of the bounds in
//    0.01 mm: frame right = round((bounds right + 1) * 2540 / 96) - 1. An empty picture has bounds
//    {0, 0, -1, -1} and frame {0, 0, -1, -1}.
//  - Errors: the first failure (allocation, a metafile past 1 GiB, writing the file) is kept; every
//    later call fails at once and CloseEnhanced returns a null metafile.
//  - GetPixel answers CLR_INVALID; a bitmap cannot be selected.

#include <cstdio>
#include <memory>
#include <vector>

#include "qor/kernel/base/export.h"
#include "qor/platform/dc.h"
#include "qor/platform/emf/metafile.h"

namespace QOR::detail {
class AtomicFile;
}

class QOR_EXPORT CMetaFileDC : public CDC {
public:
    /// A null device until CreateEnhanced.
    CMetaFileDC() noexcept;
    ~CMetaFileDC() override;

    /// Starts recording. pDCRef is not used: the reference device is always the 96 dpi screen.
    /// lpszFileName null keeps the metafile in memory only; otherwise the file is created (a temporary
    /// file next to it at once, renamed over it by CloseEnhanced). lpBoundsHimm is the picture frame in
    /// 0.01 mm (inclusive), or null to take it from what is drawn. lpszDescription is null or
    /// "application\0title\0\0". False when already recording or the file cannot be created.
    BOOL CreateEnhanced(CDC* pDCRef, const wchar_t* lpszFileName, const RECT* lpBoundsHimm,
                        const wchar_t* lpszDescription) noexcept;
    /// Ends recording: writes the end record and the header, and the file if one was named. Returns the
    /// metafile, or null after any failure. The DC becomes a null device.
    HENHMETAFILE CloseEnhanced() noexcept;

    /// True when a call has failed since CreateEnhanced (the first failure is kept).
    bool hasFailed() const noexcept { return m_error != Status::Ok; }
    /// Records written so far, the header included.
    std::size_t recordCount() const noexcept { return m_records; }

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
    /// What the records have selected so far, to skip selections that change nothing.
    struct Recorded {
        int penStock = BLACK_PEN; // -1: the pen in m_penSlot
        LOGPEN pen{PS_SOLID, {1, 0}, 0};
        int brushStock = WHITE_BRUSH;
        LOGBRUSH brush{BS_SOLID, RGB(255, 255, 255), 0};
        QOR::detail::DcAttributes attributes;
        POINT position{0, 0};
    };

    /// Runs a recording step unless an earlier one failed; keeps the first failure.
    template <class F>
    Status record(F&& step);
    /// Starts a record of the given type; its size is patched by endRecord.
    std::size_t beginRecord(std::uint32_t type);
    void endRecord(std::size_t start);
    /// Inclusive box of the points, widened by the pen; adds it (cut to the clip) to the header bounds.
    RECT shapeBounds(std::span<const POINT> points, bool withPen);
    void addBounds(const RECT& inclusive);
    void writeRect(const RECT& r);
    void writeRegion(const QOR::Region& region, std::uint64_t& bytesOut);
    void selectHandle(std::uint32_t handle);

    Status m_error = Status::Ok;
    std::vector<unsigned char> m_bytes;
    std::size_t m_records = 0;
    std::unique_ptr<QOR::detail::AtomicFile> m_file;
    std::FILE* m_stream = nullptr; // owned by m_file
    bool m_frameGiven = false;
    RECT m_frameHimm{0, 0, -1, -1};
    bool m_hasBounds = false;
    RECT m_bounds{0, 0, -1, -1};
    int m_penSlot = 0;   // handle of the recorded pen, 0 for a stock pen
    int m_brushSlot = 0; // handle of the recorded brush, 0 for a stock brush
    Recorded m_recorded;
    std::vector<RECT> m_rects; // scratch for region records
};
