#pragma once

// CDC: the device context every drawing caller uses, with GDI's names and results. It is a front end:
// its public methods are not virtual; they check their arguments, keep the state (current position,
// pen, brush, bitmap, clip region, colours and modes, saved states), clamp coordinates, reject what
// draws nothing, and only then call one of the few protected verbs a backend implements. The raster
// backend is CRasterDC (raster/raster_dc.h); a metafile recorder implements the same verbs as records.
//
// Conventions
//  - Device space as in win_types.h; every coordinate is clamped into [-kDeviceLimit, kDeviceLimit]
//    (device_coord_p.h) on entry, and the backend sees only clamped values.
//  - Points of lines name pixels: LineTo from a to b paints the pixels of the line from pixel a up to
//    pixel b, b itself excluded. Points of filled shapes name pixel corners: Rectangle(0, 0, 10, 10) and
//    the polygon with those corners cover [0, 10) x [0, 10). How a backend turns this into pixels is in
//    its own header (raster/raster_dc.h).
//  - A CDC that is not created (a default-constructed CRasterDC, or one whose creation failed) is a null
//    device: every call fails (FALSE, 0, CLR_INVALID, null, RGN_ERROR) and nothing else happens.
//  - Nothing throws; allocation failure makes the call fail and leaves the state as it was.
//
// Verbs (for backend writers)
//  - State verbs are called after the front end has accepted a change, with the new value, so that a
//    recorder can write object and state records; the front end keeps the state, and a backend may read
//    it back through the protected getters instead of keeping a copy. RestoreDC calls every state verb
//    with the restored values.
//  - Drawing verbs get clamped, normalised arguments and are called only when there is something to draw
//    with (a pen or a brush that is not null). They return Status::Ok or NothingToDo for success; any
//    other status makes the public call fail. One verb per family of metafile records:
//      selectPen       pen object records            selectBrush  brush object records
//      selectClip      clip region records           setAttributes bk/text colour, bk mode, fill mode
//      selectBitmap    (raster only: the surface)    strokeSegment  move-to + line-to
//      polyline        polyline                      polyPolygon    polygon / poly-polygon
//      ellipse         ellipse                       rectangle      rectangle
//      fillSolidRect   opaque rectangle fill         setPixel       set-pixel
//      getPixel        (raster only)                 bitBlt         bit-block transfer with bits

#include <memory>
#include <span>
#include <vector>

#include "qor/kernel/base/export.h"
#include "qor/kernel/base/obj.h"
#include "qor/kernel/base/status.h"
#include "qor/platform/bitmap.h"
#include "qor/platform/gdi_object.h"
#include "qor/platform/region.h"
#include "qor/platform/win_types.h"

namespace QOR::detail {

/// Colours and modes that change how shapes are drawn, in one record for the backend.
struct DcAttributes {
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
    int bkMode = OPAQUE;
    int polyFillMode = ALTERNATE;
};

/// The source of a bit-block transfer: the bitmap selected into the source DC and that DC's colours,
/// which decide a colour-to-monochrome conversion.
struct BlitSource {
    const Surface& surface;
    COLORREF bkColor;
    COLORREF textColor;
};

} // namespace QOR::detail

class QOR_EXPORT CDC : public CQorObj {
public:
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    /// True once the device context has been created and not deleted.
    bool isCreated() const noexcept { return m_created; }
    /// Makes this a null device; the selected objects are no longer referenced. False when not created.
    BOOL DeleteDC() noexcept;

    // Current position (a pixel; see Conventions).
    /// Returns the previous position; (0, 0) on a null device.
    CPoint MoveTo(int x, int y) noexcept;
    CPoint MoveTo(POINT point) noexcept { return MoveTo(point.x, point.y); }
    CPoint GetCurrentPosition() const noexcept;

    // Lines, drawn with the selected pen; a null pen draws nothing and succeeds.
    /// From the current position to (x, y), which is excluded and becomes the current position.
    BOOL LineTo(int x, int y) noexcept;
    BOOL LineTo(POINT point) noexcept { return LineTo(point.x, point.y); }
    /// Connected lines through nCount >= 2 points; the last point is excluded; the current position is
    /// neither used nor changed.
    BOOL Polyline(const POINT* lpPoints, int nCount) noexcept;

    // Filled shapes: the interior with the selected brush by the polygon fill mode, then the outline with
    // the selected pen.
    /// A closed polygon of nCount >= 2 points.
    BOOL Polygon(const POINT* lpPoints, int nCount) noexcept;
    /// nCount polygons of lpPolyCounts[i] >= 2 points, filled together (with ALTERNATE an inner polygon
    /// is a hole) and each outlined.
    BOOL PolyPolygon(const POINT* lpPoints, const int* lpPolyCounts, int nCount) noexcept;
    /// The ellipse inscribed in the rect (corners in either order).
    BOOL Ellipse(int x1, int y1, int x2, int y2) noexcept;
    BOOL Ellipse(const RECT* lpRect) noexcept;
    BOOL Rectangle(int x1, int y1, int x2, int y2) noexcept;
    BOOL Rectangle(const RECT* lpRect) noexcept;

    // Fills without the pen.
    /// Fills the rect with clr and, as MFC does, leaves clr as the background colour.
    BOOL FillSolidRect(const RECT* lpRect, COLORREF clr) noexcept;
    BOOL FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) noexcept;
    /// Fills the rect with the brush (not selected); a null brush fills nothing and succeeds.
    BOOL FillRect(const RECT* lpRect, CBrush* pBrush) noexcept;

    // Pixels.
    /// Sets the pixel; returns the colour actually set (the nearest the bitmap can show), or CLR_INVALID
    /// outside the bitmap or the clip region.
    COLORREF SetPixel(int x, int y, COLORREF crColor) noexcept;
    COLORREF SetPixel(POINT point, COLORREF crColor) noexcept { return SetPixel(point.x, point.y, crColor); }
    BOOL SetPixelV(int x, int y, COLORREF crColor) noexcept;
    BOOL SetPixelV(POINT point, COLORREF crColor) noexcept { return SetPixelV(point.x, point.y, crColor); }
    /// The pixel's colour; CLR_INVALID outside the bitmap or the clip region, and on a metafile.
    COLORREF GetPixel(int x, int y) const noexcept;
    COLORREF GetPixel(POINT point) const noexcept { return GetPixel(point.x, point.y); }

    /// Transfers the nWidth x nHeight block at (xSrc, ySrc) of pSrcDC's bitmap to (x, y) by dwRop:
    /// SRCCOPY, SRCAND, SRCINVERT, SRCPAINT, or without a source DSTINVERT, BLACKNESS, WHITENESS. The
    /// part of the block outside the source bitmap is not transferred. Between formats: a colour source
    /// on a monochrome destination gives 1 (white) where the pixel equals the source DC's background
    /// colour and 0 elsewhere; a monochrome source on a colour destination gives the destination DC's
    /// background colour for 1 and its text colour for 0. False for other ROPs, a missing source, a
    /// negative size.
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) noexcept;

    // Selection. The DC copies a pen's or brush's attributes and keeps the pointer only to return it; a
    // bitmap's pixels stay shared with the DC while selected; a region is copied.
    /// Returns the previously selected object, or null on failure (nothing changes then).
    CPen* SelectObject(CPen* pPen) noexcept;
    CBrush* SelectObject(CBrush* pBrush) noexcept;
    /// Raster DCs only. The first bitmap selected into a new DC is returned as null.
    CBitmap* SelectObject(CBitmap* pBitmap) noexcept;
    /// Same as SelectClipRgn.
    int SelectObject(CRgn* pRgn) noexcept { return SelectClipRgn(pRgn); }
    /// A stock pen or brush (BLACK_PEN, NULL_PEN, WHITE_BRUSH, NULL_BRUSH, ...); returns the previous
    /// object of that kind, or null.
    CGdiObject* SelectStockObject(int nIndex) noexcept;
    CPen* GetCurrentPen() const noexcept;
    CBrush* GetCurrentBrush() const noexcept;
    CBitmap* GetCurrentBitmap() const noexcept;

    // Clipping (device coordinates).
    /// Clips to a copy of the region; null removes clipping. Returns the new clip's complexity.
    int SelectClipRgn(CRgn* pRgn) noexcept;
    /// Combines the clip with the region by nMode (RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY); with no
    /// clip selected the clip counts as the whole bitmap (on a DC without a bitmap, the whole device
    /// space). RGN_COPY with a null region removes clipping.
    int ExtSelectClipRgn(CRgn* pRgn, int nMode) noexcept;
    /// The bounds of what can be drawn (clip region and bitmap); returns its complexity.
    int GetClipBox(RECT* lpRect) const noexcept;

    // Attributes. Setters return the previous value, or CLR_INVALID / 0 on failure.
    COLORREF SetBkColor(COLORREF crColor) noexcept;
    COLORREF GetBkColor() const noexcept;
    COLORREF SetTextColor(COLORREF crColor) noexcept;
    COLORREF GetTextColor() const noexcept;
    /// OPAQUE or TRANSPARENT. Recorded and reported; solid pens and brushes look the same in both.
    int SetBkMode(int nBkMode) noexcept;
    int GetBkMode() const noexcept;
    /// ALTERNATE or WINDING.
    int SetPolyFillMode(int nPolyFillMode) noexcept;
    int GetPolyFillMode() const noexcept;

    /// Saves the whole state (selections, clip, colours, modes, position); returns the new save level
    /// (1 for the first), or 0 on failure.
    int SaveDC() noexcept;
    /// Restores the state saved at level nSavedDC (> 0), or |nSavedDC| levels back (< 0); that level and
    /// those above it are discarded. False for a level that does not exist.
    BOOL RestoreDC(int nSavedDC) noexcept;

protected:
    using Status = QOR::detail::Status;

    CDC() noexcept;
    /// Called by a backend when it becomes a working device (created = true) or fails (false). Going
    /// from created to not created resets the state to GDI's defaults.
    void setCreated(bool created) noexcept;

    // State verbs.
    virtual Status selectPen(const LOGPEN& pen, int stockIndex) = 0;
    virtual Status selectBrush(const LOGBRUSH& brush, int stockIndex) = 0;
    /// clip null: no clipping. The region is in device coordinates and stays valid until the next call.
    virtual Status selectClip(const QOR::Region* clip) = 0;
    virtual Status setAttributes(const QOR::detail::DcAttributes& attributes) = 0;
    /// surface null: no bitmap. Called before the selection is accepted: a failure keeps the old one.
    virtual Status selectBitmap(const QOR::detail::Surface* surface) = 0;

    // Drawing verbs (see Conventions and Verbs above).
    /// A one-segment line from `from` (the current position) to `to`, `to` excluded.
    virtual Status strokeSegment(POINT from, POINT to) = 0;
    /// At least 2 points.
    virtual Status polyline(std::span<const POINT> points) = 0;
    /// counts are all >= 2 and add up to points.size().
    virtual Status polyPolygon(std::span<const POINT> points, std::span<const int> counts) = 0;
    /// box is normalised (left <= right, top <= bottom).
    virtual Status ellipse(const RECT& box) = 0;
    virtual Status rectangle(const RECT& box) = 0;
    /// rect is normalised and not empty.
    virtual Status fillSolidRect(const RECT& rect, COLORREF color) = 0;
    /// actual receives the colour set; NothingToDo when the pixel is clipped away.
    virtual Status setPixel(POINT point, COLORREF color, COLORREF& actual) = 0;
    virtual Status getPixel(POINT point, COLORREF& color) const = 0;
    /// dst is not empty and, with a source, lies where the source block exists: srcOrigin is the source
    /// pixel for dst's top-left corner. src is null for the ROPs without a source.
    virtual Status bitBlt(const RECT& dst, const QOR::detail::BlitSource* src, POINT srcOrigin,
                          DWORD rop) = 0;

    // The state, for backends.
    const LOGPEN& pen() const noexcept { return m_state.penLog; }
    const LOGBRUSH& brush() const noexcept { return m_state.brushLog; }
    const QOR::detail::DcAttributes& attributes() const noexcept { return m_state.attributes; }
    /// The selected bitmap's pixels, or null.
    QOR::detail::Surface* surface() const noexcept { return m_state.surface.get(); }
    /// The selected clip region, or null for none.
    const QOR::Region* clip() const noexcept { return m_state.clip.get(); }

private:
    struct State {
        CPen* penObject = nullptr;
        LOGPEN penLog{PS_SOLID, {1, 0}, 0};
        int penStock = BLACK_PEN;
        CBrush* brushObject = nullptr;
        LOGBRUSH brushLog{BS_SOLID, RGB(255, 255, 255), 0};
        int brushStock = WHITE_BRUSH;
        CBitmap* bitmapObject = nullptr;
        std::shared_ptr<QOR::detail::Surface> surface;
        /// Shared with the saved states that hold the same clip; never changed while shared.
        std::shared_ptr<QOR::Region> clip;
        QOR::detail::DcAttributes attributes;
        POINT position{0, 0};
    };

    /// The most saved states: SaveDC in a runaway loop fails rather than exhausting memory.
    static constexpr int kMaxSavedStates = 1024;

    bool canDrawLines() const noexcept { return m_state.penLog.lopnStyle != PS_NULL; }
    bool canFill() const noexcept { return m_state.brushLog.lbStyle != BS_NULL; }
    /// Makes the region in m_spareClips[0] (or none) the clip through the backend; the clip it replaces
    /// becomes a spare unless a saved state still holds it.
    Status setClip(bool none);
    /// m_spareClips[0], ready to be written (made when there is no spare).
    QOR::Region& spareClip();
    /// Sets one attribute through the backend; returns the previous value, or failure.
    template <class T>
    T changeAttribute(T QOR::detail::DcAttributes::*field, T value, T failure) noexcept;
    /// The points clamped to the device limit: the caller's own when they all lie within it (the usual
    /// case, read where they are), else a clamped copy in m_points.
    std::span<const POINT> clampPoints(const POINT* points, std::size_t count);
    static BOOL toBool(Status s) noexcept { return QOR::detail::succeeded(s) ? TRUE : FALSE; }

    bool m_created = false;
    State m_state;
    std::vector<State> m_saved;
    std::vector<POINT> m_points; // reused for every polygon and polyline
    std::vector<int> m_counts;
    // A clip is built in the spare and then swapped in, so that changing the clip from frame to frame or
    // from hole to hole reuses storage instead of allocating it.
    std::shared_ptr<QOR::Region> m_spareClips[2];
    QOR::Region m_wholeClip; // the clip that "no clip" stands for, in ExtSelectClipRgn
    QOR::Region::CombineScratch m_combineScratch;
};
