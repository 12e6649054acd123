#include "qor/platform/gdi_object.h"

CGdiObject::~CGdiObject() = default;

BOOL CGdiObject::DeleteObject() noexcept {
    if (!m_created || m_stock >= 0) return FALSE;
    m_created = false;
    return TRUE;
}

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor) noexcept {
    CreatePen(nPenStyle, nWidth, crColor);
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) noexcept {
    if (m_created || nWidth < 0 || (nPenStyle != PS_SOLID && nPenStyle != PS_NULL)) return FALSE;
    m_log = LOGPEN{UINT(nPenStyle), {nWidth, 0}, crColor & 0x00FFFFFF};
    m_created = true;
    return TRUE;
}

BOOL CPen::CreateStockObject(int nIndex) noexcept {
    const CPen* s = stock(nIndex);
    if (m_created || !s) return FALSE;
    m_log = s->m_log;
    m_created = true;
    m_stock = nIndex;
    return TRUE;
}

int CPen::GetLogPen(LOGPEN* pLogPen) const noexcept {
    if (!m_created || !pLogPen) return 0;
    *pLogPen = m_log;
    return int(sizeof(LOGPEN));
}

CPen* CPen::stock(int nIndex) noexcept {
    // Built once, on first use (the static's initialisation is thread-safe); never changed afterwards,
    // since DeleteObject refuses stock objects, so every thread may select them.
    static CPen pens[3];
    static const bool ready = [] {
        const COLORREF colours[3] = {RGB(255, 255, 255), 0, 0};
        for (int i = 0; i < 3; ++i) {
            pens[i].CreatePen(i == 2 ? PS_NULL : PS_SOLID, 1, colours[i]);
            pens[i].m_stock = WHITE_PEN + i;
        }
        return true;
    }();
    if (!ready || nIndex < WHITE_PEN || nIndex > NULL_PEN) return nullptr;
    return &pens[nIndex - WHITE_PEN];
}

CBrush::CBrush(COLORREF crColor) noexcept {
    CreateSolidBrush(crColor);
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) noexcept {
    if (m_created) return FALSE;
    m_log = LOGBRUSH{BS_SOLID, crColor & 0x00FFFFFF, 0};
    m_created = true;
    return TRUE;
}

BOOL CBrush::CreateStockObject(int nIndex) noexcept {
    const CBrush* s = stock(nIndex);
    if (m_created || !s) return FALSE;
    m_log = s->m_log;
    m_created = true;
    m_stock = nIndex;
    return TRUE;
}

int CBrush::GetLogBrush(LOGBRUSH* pLogBrush) const noexcept {
    if (!m_created || !pLogBrush) return 0;
    *pLogBrush = m_log;
    return int(sizeof(LOGBRUSH));
}

CBrush* CBrush::stock(int nIndex) noexcept {
    // The grey levels are GDI's stock values. Built once and read-only, as the stock pens.
    static CBrush brushes[6];
    static const bool ready = [] {
        const COLORREF colours[5] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                     RGB(64, 64, 64), RGB(0, 0, 0)};
        for (int i = 0; i < 5; ++i)
            brushes[i].CreateSolidBrush(colours[i]);
        brushes[5].m_log = LOGBRUSH{BS_NULL, 0, 0};
        brushes[5].m_created = true;
        for (int i = 0; i < 6; ++i)
            brushes[i].m_stock = i;
        return true;
    }();
    if (!ready || nIndex < WHITE_BRUSH || nIndex > NULL_BRUSH) return nullptr;
    return &brushes[nIndex];
}
