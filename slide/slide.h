#pragma once

// CSlide: an AutoCAD slide held in memory and painted onto any device context. It is the headless core
// of the slide window QOR::CSlidePic, which owns one (or derives from it) and adds only the window: its
// paint event calls paint() with the client rectangle, and invalidate() is its hook to repaint after
// show(). The slide format is decoded by slide_reader_p.h, libraries are read by slide_library_p.h.
//
// Conventions
//  - Slide space: see slide_reader_p.h (pixels of the slide's grid, y up, (0, 0) bottom-left).
//  - Device space: as platform/dc.h. A slide of w x h dots drawn into a rect of W + 1 x H + 1 pixels is
//    scaled by s = min(W / w, H / h), which keeps the aspect of the slide's pixel grid, and centred:
//    slide (x, y) lands on device (trunc(x * s + ox), trunc((h - y) * s + oy)) with
//    ox = trunc(W - s * w) >> 1 and oy = trunc(H - s * h) >> 1. The rect's origin is not added: windows
//    paint their client rect, which starts at (0, 0). Coordinates are clamped as deviceCoord() does.
//  - Colours are AutoCAD colour indices drawn as acadRGB(index), except that index 7 (white on a dark
//    background) is drawn as index 0 (black) while the background index is 7.
//  - Nothing throws; a slide that cannot be loaded leaves the object as the function says.

#include <cstddef>
#include <span>
#include <vector>

#include "qor/kernel/base/export.h"
#include "qor/platform/dc.h"
#include "qor/platform/emf/metafile.h"

namespace QOR {

namespace detail {
struct SlideHeader;
}

/// Resource type of slides embedded in the library (a number, as Windows gives user-defined types a
/// number or a name): LoadSlide accepts it as the number or by the name "SLD".
constexpr int RT_SLIDE = 256;

/// The colour that stands in for the system's button-face colour behind a window that holds no slide.
constexpr COLORREF kSlideNeutralColor = RGB(240, 240, 240);

class QOR_EXPORT CSlide {
public:
    /// Empty: no slide data, background index 0; the slide pen and brush have the colour of index 7.
    CSlide() noexcept;
    virtual ~CSlide();
    CSlide(const CSlide&) = delete;
    CSlide& operator=(const CSlide&) = delete;

    // --- Loading. Each replaces the current slide and calls invalidate().

    /// With library: slide names an entry of that slide library (the case-insensitive lookup of
    /// slide_library_p.h). Without: slide is the path of a slide file. On failure the slide is empty.
    /// Returns whether slide data are held afterwards.
    bool show(const wchar_t* slide, const wchar_t* library = nullptr) noexcept;
    /// A copy of size bytes of data; none when data is null or size is not positive.
    void show(const void* data, int size) noexcept;
    /// The slide embedded as resource id of type: RT_SLIDE as a number (a pointer value up to 0xFFFF, as
    /// MAKEINTRESOURCE makes) or the name "SLD". False, changing nothing, when there is no such resource.
    bool LoadSlide(DWORD id, const wchar_t* type) noexcept;

    bool hasData() const noexcept { return !m_data.empty(); }
    /// The slide bytes held (empty when none); valid until the next load.
    std::span<const unsigned char> data() const noexcept { return m_data; }
    /// The header's level byte: 1 or 2 for a slide that can be drawn; 0 when no slide data are held.
    int level() const noexcept;
    /// The header's high X and Y dots; false when no slide data are held.
    bool getSize(long& width, long& height) const noexcept;

    /// Sets the background colour index; returns 1. Indices outside 0-255 draw the background black.
    int SetBkColor(int index) noexcept;
    int BackColor() const noexcept { return m_backIndex; }

    // --- Drawing.

    /// Draws the slide into rect on dc with whatever pen and brush dc holds until the first colour
    /// record. The DC's state is restored afterwards. False when there is no slide, no dc or the slide's
    /// level cannot be drawn; truncated data draw what comes before the truncation and return true.
    bool draw(CDC* dc, const CRect& rect) noexcept;
    /// What the window does on a paint event: unless transparent, fills the client rect with the
    /// background brush (the neutral colour when no slide is held) outlined by dc's current pen, then
    /// draws. Returns what draw returns.
    bool paint(CDC* dc, const CRect& client, bool transparent = false) noexcept;
    /// The slide drawn into rect as an enhanced metafile with colour 7 drawn black (the background index
    /// counts as 7 while recording) and no background. Owned by the caller; null when recording fails.
    virtual HENHMETAFILE CreateEnhMetaFileW(CRect rect) noexcept;
    /// Puts CreateEnhMetaFileW(0, 0, width, height) on the clipboard (platform/clipboard.h). False when
    /// the clipboard cannot be opened.
    bool Copy() noexcept;

    /// Scale and offsets of the last draw (slide space to device space, see Conventions).
    double scale() const noexcept { return m_scale; }
    int offsetX() const noexcept { return m_offsetX; }
    int offsetY() const noexcept { return m_offsetY; }

protected:
    /// Called after the slide changed; a window repaints.
    virtual void invalidate() noexcept {}

private:
    void replaceData(std::vector<unsigned char>&& bytes) noexcept;
    bool drawRecords(CDC& dc, const CRect& rect, const detail::SlideHeader& header);
    void setCoordSystem(const CRect& rect, int width, int height) noexcept;
    POINT trans(int x, int y) const noexcept;
    void newColor(CDC& dc, int index) noexcept;
    COLORREF colorOf(int index) const noexcept;

    std::vector<unsigned char> m_data;
    int m_backIndex = 0;
    CPen m_pen;
    CBrush m_brush;
    CBrush m_backBrush;
    CBrush m_neutralBrush;
    std::vector<POINT> m_points; // reused for every polygon
    double m_scale = 1.0;
    int m_offsetX = 0;
    int m_offsetY = 0;
    int m_height = 0;
};

} // namespace QOR
