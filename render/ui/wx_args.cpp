#include "qor/render/ui/wx_args.h"

#include <algorithm>
#include <climits>

namespace QOR::detail {

UINT mkFlags(const wxMouseState& e) noexcept {
    UINT flags = 0;
    if (e.LeftIsDown()) flags |= MK_LBUTTON;
    if (e.RightIsDown()) flags |= MK_RBUTTON;
    if (e.MiddleIsDown()) flags |= MK_MBUTTON;
    if (e.ShiftDown()) flags |= MK_SHIFT;
    if (e.ControlDown()) flags |= MK_CONTROL;
    return flags;
}

short wheelDelta(const wxMouseEvent& e) noexcept {
    if (e.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL) return 0;
    const long long perNotch = e.GetWheelDelta() > 0 ? e.GetWheelDelta() : WHEEL_DELTA;
    const long long delta = static_cast<long long>(e.GetWheelRotation()) * WHEEL_DELTA / perNotch;
    return short(std::clamp<long long>(delta, SHRT_MIN, SHRT_MAX));
}

CPoint clientPoint(const wxMouseEvent& e) noexcept {
    return CPoint(e.GetX(), e.GetY());
}

CPoint screenPoint(const wxWindow& window, const wxMouseEvent& e) noexcept {
    const wxPoint p = window.ClientToScreen(e.GetPosition());
    return CPoint(p.x, p.y);
}

} // namespace QOR::detail
