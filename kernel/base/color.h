#pragma once

#include <cstdint>

#include "qor/kernel/base/export.h"

// Conventions
//  - An RGB value here is laid out as a Win32 COLORREF / OLE colour: 0x00BBGGRR (red in the low byte).
//  - A true colour as AutoCAD stores it (DXF group 420) is 0x00RRGGBB (blue in the low byte); only
//    CQorColor::setColor takes that layout.
//  - AutoCAD colour indices run from 0 to 255; -1 means "no colour".

/// The RGB value (0x00BBGGRR) of AutoCAD colour index `index`, computed from the index rather than looked
/// up: 0 black, 1-7 the full primaries and white, 8 and 9 greys, 10-249 a hue wheel of 24 hues in steps
/// of 15 degrees with five values and two saturations each, 250-255 a grey ramp. Every component is
/// 255 x value x (its share) truncated toward zero. Indices outside 0-255 have no colour and give black.
QOR_EXPORT std::uint32_t acadRGB(int index) noexcept;

/// A drawing colour: an AutoCAD colour index, optionally a true colour that overrides the index's RGB,
/// and optionally the colour-book and colour names the true colour was picked from.
///
/// The object is 16 bytes and allocates nothing unless colour-book names are set: display lists hold
/// millions of colours, and books are rare. A default colour has index -1 ("no colour"), no true colour
/// and no names.
class QOR_EXPORT CQorColor {
public:
    static constexpr int kNone = -1;

    CQorColor() noexcept = default;
    /// A colour with the given AutoCAD index (as setColorIndex; an invalid index leaves "no colour").
    explicit CQorColor(int index) noexcept { setColorIndex(index); }
    CQorColor(const CQorColor& other) noexcept;
    CQorColor(CQorColor&& other) noexcept
        : m_index(other.m_index), m_rgb(other.m_rgb), m_names(other.m_names) {
        other.m_names = nullptr;
    }
    CQorColor& operator=(const CQorColor& other) noexcept;
    CQorColor& operator=(CQorColor&& other) noexcept;
    ~CQorColor();

    /// Sets a true colour given as AutoCAD stores it, 0x00RRGGBB (the top byte is ignored). The index
    /// stays; a colour that had no index (-1) gets the nearest index of the 255 indexed colours, so that
    /// a colour with a true colour never reads as "no colour". Colour-book names are kept.
    void setColor(std::uint32_t rgb) noexcept;
    /// Sets the AutoCAD colour index (-1 to 255) and drops any true colour and colour-book names, as
    /// choosing an indexed colour does in AutoCAD. False, changing nothing, for other values.
    bool setColorIndex(int index) noexcept;
    int colorIndex() const noexcept { return m_index; }
    /// True when a true colour overrides the index's RGB.
    bool hasTrueColor() const noexcept { return (m_rgb & kTrueColorFlag) != 0; }

    /// Sets a true colour given as an OLE colour / COLORREF, 0x00BBGGRR; otherwise as setColor. The top
    /// byte (system-colour and palette flags of OLE) is ignored.
    void setOleColor(std::uint32_t ole) noexcept;
    /// The RGB value to draw with, 0x00BBGGRR: the true colour when one is set, else acadRGB(index);
    /// "no colour" (-1) gives black.
    std::uint32_t oleColor() const noexcept;

    int red() const noexcept { return int(oleColor() & 0xFF); }
    int green() const noexcept { return int((oleColor() >> 8) & 0xFF); }
    int blue() const noexcept { return int((oleColor() >> 16) & 0xFF); }

    /// Sets the colour-book name and the colour's name in that book. Both null or empty removes the
    /// names (and frees their memory). False, changing nothing, when memory runs out.
    bool setNames(const wchar_t* book, const wchar_t* name) noexcept;
    /// The colour-book name, or an empty text.
    const wchar_t* bookName() const noexcept;
    /// The colour's name within its book, or an empty text.
    const wchar_t* colorName() const noexcept;

    /// Equal when index, true colour and names are equal.
    bool operator==(const CQorColor& other) const noexcept;

private:
    struct Names;
    // Marks m_rgb as holding a true colour; the low 24 bits are then 0x00BBGGRR.
    static constexpr std::uint32_t kTrueColorFlag = 0x01000000;

    void setTrueColor(std::uint32_t bgr) noexcept;

    std::int32_t m_index = kNone;
    std::uint32_t m_rgb = 0;
    Names* m_names = nullptr; // owned; null when the colour has no colour-book names
};
