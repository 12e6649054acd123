#pragma once

// GDI objects as owning C++ objects: pens and brushes here, regions in region.h, bitmaps in bitmap.h.
//
// A device context copies the attributes of a pen or brush when it is selected and keeps only the
// pointer to hand back from SelectObject; destroying or changing a selected pen or brush does not affect
// the device context until the next selection. Stock objects (CreateStockObject, CDC::SelectStockObject)
// are shared, immutable and never deleted.

#include "qor/kernel/base/export.h"
#include "qor/kernel/base/obj.h"
#include "qor/platform/gdi_consts.h"
#include "qor/platform/win_types.h"

class QOR_EXPORT CGdiObject : public CQorObj {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    ~CGdiObject() override;

    /// Releases what the object holds; it can be created again afterwards. False when it holds nothing
    /// and for stock objects, which stay as they are. Objects that hold storage release it too.
    virtual BOOL DeleteObject() noexcept;
    /// True once the object has been created and not deleted.
    bool isCreated() const noexcept { return m_created; }
    /// The stock index this object stands for, or -1.
    int stockIndex() const noexcept { return m_stock; }

protected:
    bool m_created = false;
    int m_stock = -1;
};

class QOR_EXPORT CPen : public CGdiObject {
public:
    CPen() = default;
    /// Creates the pen at once (see CreatePen); on bad arguments the pen stays uncreated.
    CPen(int nPenStyle, int nWidth, COLORREF crColor) noexcept;

    /// Style PS_SOLID or PS_NULL; nWidth in pixels (0 and 1 draw one-pixel lines; negative fails); the
    /// top byte of crColor is ignored. False for other styles or when already created.
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor) noexcept;
    /// BLACK_PEN, WHITE_PEN or NULL_PEN; false for other indices or when already created.
    BOOL CreateStockObject(int nIndex) noexcept;
    /// Copies the logical pen; 0 when the pen is not created, else sizeof(LOGPEN).
    int GetLogPen(LOGPEN* pLogPen) const noexcept;

    /// The stock pen object for BLACK_PEN, WHITE_PEN or NULL_PEN (process-wide, immutable); null for
    /// other indices.
    static CPen* stock(int nIndex) noexcept;

private:
    LOGPEN m_log{PS_SOLID, {1, 0}, 0};
};

class QOR_EXPORT CBrush : public CGdiObject {
public:
    CBrush() = default;
    /// Creates a solid brush at once.
    explicit CBrush(COLORREF crColor) noexcept;

    BOOL CreateSolidBrush(COLORREF crColor) noexcept;
    /// WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH or NULL_BRUSH (HOLLOW_BRUSH).
    BOOL CreateStockObject(int nIndex) noexcept;
    int GetLogBrush(LOGBRUSH* pLogBrush) const noexcept;

    static CBrush* stock(int nIndex) noexcept;

private:
    LOGBRUSH m_log{BS_SOLID, 0, 0};
};
