#pragma once

// Plain types with the layout and meaning of their Win32 namesakes, so that code written against GDI reads
// the same here. They carry no behaviour beyond the small helpers MFC gives them.
//
// Conventions
//  - Device space: int pixels, origin top-left, y down. Pixel (x, y) covers [x, x+1) x [y, y+1).
//  - RECT: left/top inside, right/bottom outside; a rect with right <= left or bottom <= top is empty.
//  - COLORREF: 0x00BBGGRR (red in the low byte); the top byte is zero for every colour.

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
/// GDI's boolean: 0 is false, anything else true. Functions here return exactly 0 or 1.
using BOOL = int;
using COLORREF = DWORD;

// Guarded like the toolkit headers that define them too, so either may come first.
#ifndef FALSE
#define FALSE 0
#endif
#ifndef TRUE
#define TRUE 1
#endif

/// GDI's failure value for colour results (GetPixel outside the clip region, or on a metafile).
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

constexpr COLORREF RGB(int r, int g, int b) noexcept {
    return COLORREF(BYTE(r)) | (COLORREF(BYTE(g)) << 8) | (COLORREF(BYTE(b)) << 16);
}
constexpr BYTE GetRValue(COLORREF c) noexcept {
    return BYTE(c);
}
constexpr BYTE GetGValue(COLORREF c) noexcept {
    return BYTE(c >> 8);
}
constexpr BYTE GetBValue(COLORREF c) noexcept {
    return BYTE(c >> 16);
}

struct POINT {
    LONG x;
    LONG y;
};

struct SIZE {
    LONG cx;
    LONG cy;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

/// What GetBitmap reports of a bitmap. bmWidthBytes is the stride of one row in bytes; bmBits points to
/// the pixels of the bitmap (valid while it lives and its size does not change).
struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    void* bmBits;
};

class CSize : public SIZE {
public:
    constexpr CSize() noexcept : SIZE{0, 0} {}
    constexpr CSize(int cx_, int cy_) noexcept : SIZE{cx_, cy_} {}
    constexpr CSize(SIZE s) noexcept : SIZE(s) {}
    constexpr bool operator==(const CSize& o) const noexcept { return cx == o.cx && cy == o.cy; }
};

class CPoint : public POINT {
public:
    constexpr CPoint() noexcept : POINT{0, 0} {}
    constexpr CPoint(int x_, int y_) noexcept : POINT{x_, y_} {}
    constexpr CPoint(POINT p) noexcept : POINT(p) {}
    constexpr bool operator==(const CPoint& o) const noexcept { return x == o.x && y == o.y; }
    /// Wrapping arithmetic, as on Windows; no undefined behaviour at the int limits.
    constexpr CPoint operator+(SIZE s) const noexcept { return {wrapAdd(x, s.cx), wrapAdd(y, s.cy)}; }
    constexpr CPoint operator-(SIZE s) const noexcept { return {wrapAdd(x, -s.cx), wrapAdd(y, -s.cy)}; }
    constexpr void Offset(int dx, int dy) noexcept {
        x = wrapAdd(x, dx);
        y = wrapAdd(y, dy);
    }

private:
    static constexpr LONG wrapAdd(LONG a, std::int64_t b) noexcept {
        return LONG(std::uint32_t(std::int64_t(a) + b));
    }
};

/// Right and bottom are outside (see Conventions). Width and height are computed in 64 bits and clamped,
/// so a rect spanning the whole int range reports INT_MAX rather than overflowing.
class CRect : public RECT {
public:
    constexpr CRect() noexcept : RECT{0, 0, 0, 0} {}
    constexpr CRect(int l, int t, int r, int b) noexcept : RECT{l, t, r, b} {}
    constexpr CRect(RECT r) noexcept : RECT(r) {}
    constexpr CRect(POINT topLeft, SIZE size) noexcept
        : RECT{topLeft.x, topLeft.y, LONG(clamp64(std::int64_t(topLeft.x) + size.cx)),
               LONG(clamp64(std::int64_t(topLeft.y) + size.cy))} {}

    constexpr int Width() const noexcept { return int(clamp64(std::int64_t(right) - left)); }
    constexpr int Height() const noexcept { return int(clamp64(std::int64_t(bottom) - top)); }
    constexpr CSize Size() const noexcept { return {Width(), Height()}; }
    constexpr CPoint TopLeft() const noexcept { return {left, top}; }
    constexpr CPoint BottomRight() const noexcept { return {right, bottom}; }
    constexpr bool IsRectEmpty() const noexcept { return right <= left || bottom <= top; }
    constexpr bool PtInRect(POINT p) const noexcept {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr void SetRect(int l, int t, int r, int b) noexcept { *this = CRect(l, t, r, b); }
    constexpr void SetRectEmpty() noexcept { *this = CRect(); }
    /// Swaps left/right and top/bottom where they are reversed.
    constexpr void NormalizeRect() noexcept {
        if (left > right) swap(left, right);
        if (top > bottom) swap(top, bottom);
    }
    /// Intersection of a and b; empty (all zero) when they do not overlap. Returns whether it is not empty.
    constexpr bool IntersectRect(const RECT& a, const RECT& b) noexcept {
        const CRect r(a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                      a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom);
        *this = r.IsRectEmpty() ? CRect() : r;
        return !IsRectEmpty();
    }
    constexpr bool operator==(const CRect& o) const noexcept {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }

private:
    static constexpr std::int64_t clamp64(std::int64_t v) noexcept {
        return v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : v);
    }
    static constexpr void swap(LONG& a, LONG& b) noexcept {
        const LONG t = a;
        a = b;
        b = t;
    }
};

/// Logical pen: style (PS_SOLID or PS_NULL), width in pixels in lopnWidth.x (0 and 1 both mean one
/// pixel; y is unused) and colour.
struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};

/// Logical brush: style (BS_SOLID or BS_NULL) and colour; hatches are not supported.
struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    std::uintptr_t lbHatch;
};
