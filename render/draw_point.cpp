// Point items: the figures of the point display mode around one device point.
#include "qor/render/render_p.h"

namespace QOR::render {

namespace {

// Point mode bits.
constexpr DWORD kModeBit1 = 1;
constexpr DWORD kModeCross = 2;
constexpr DWORD kModeTick = 4;
constexpr DWORD kModeFilledSquare = 8;
constexpr DWORD kModeCircle = 32;
constexpr DWORD kModeSquare = 64;

void line(CDC& dc, POINT from, int dx, int dy) {
    dc.MoveTo(from);
    dc.LineTo(from.x + dx, from.y + dy);
}

} // namespace

void drawPoint(const Frame& frame, int item, const ItemStyle& style) {
    CDC& dc = frame.dc;
    const CQorPoint3d& model = frame.item(item).m_point;
    const CQorMatrix3d d = style.base * frame.gdx.viewDirectionMtxGet() * frame.gdx.mtxGet(item);
    const POINT p = devicePoint(model * d);

    // A negative size is in device units and so keeps its size when zooming.
    const double pdSize = frame.gdx.pdSizeGet(item);
    const int size =
        pdSize <= 0.0 ? deviceCoord(pdSize) : deviceCoord(pdSize * (CQorVector3d::kXAxis * style.base).abs());
    const int h = size >> 1;
    const DWORD mode = frame.gdx.pdModeGet(item);

    CPen pen(PS_SOLID, 1, style.color);
    CPen* oldPen = dc.SelectObject(&pen);
    CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
    CBrush solid(style.color);

    if (mode & kModeFilledSquare) {
        if (frame.window()) {
            const COLORREF bk = dc.GetBkColor();
            dc.FillSolidRect(p.x - h, p.y - h, size, size, style.color);
            dc.SetBkColor(bk); // the background colour stays the back colour for the colour tests
        } else {
            dc.SelectObject(&solid);
            dc.Rectangle(p.x - h, p.y - h, p.x + h, p.y + h);
            dc.SelectStockObject(NULL_BRUSH);
        }
    } else {
        if (mode & kModeCircle) dc.Ellipse(p.x - h, p.y - h, p.x + h, p.y + h);
        if (mode & kModeSquare) dc.Rectangle(p.x - h, p.y - h, p.x - h + size, p.y - h + size);
        if ((mode & (kModeBit1 | kModeCross)) == (kModeBit1 | kModeCross)) {
            line(dc, p, h, h);
            line(dc, p, h, -h);
            line(dc, p, -h, h);
            line(dc, p, -h, -h);
        } else if (mode & kModeBit1) {
            // no figure
        } else if (mode & kModeCross) {
            line(dc, p, 0, h);
            line(dc, p, 0, -h);
            line(dc, p, h, 0);
            line(dc, p, -h, 0);
        } else if (mode & kModeTick) {
            line(dc, p, 0, -h);
        } else {
            dc.SelectObject(&solid);
            dc.Ellipse(p.x - 1, p.y - 1, p.x + 1, p.y + 1);
        }
    }
    if (oldBrush) dc.SelectObject(static_cast<CBrush*>(oldBrush));
    if (oldPen) dc.SelectObject(oldPen);
}

} // namespace QOR::render
