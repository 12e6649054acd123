// wx mouse events as the handlers' arguments: MK_* bits, wheel deltas in 120ths, client points.
#include <gtest/gtest.h>

#include <climits>

#include <wx/event.h>

#include "qor/render/ui/wx_args.h"

namespace {

wxMouseEvent wheel(int rotation, int perNotch, wxMouseWheelAxis axis = wxMOUSE_WHEEL_VERTICAL) {
    wxMouseEvent e(wxEVT_MOUSEWHEEL);
    e.m_wheelRotation = rotation;
    e.m_wheelDelta = perNotch;
    e.m_wheelAxis = axis;
    return e;
}

TEST(WxArgs, ButtonsAndKeysBecomeMkFlags) {
    wxMouseEvent e(wxEVT_MOTION);
    EXPECT_EQ(QOR::detail::mkFlags(e), 0u);
    e.SetMiddleDown(true);
    EXPECT_EQ(QOR::detail::mkFlags(e), MK_MBUTTON);
    e.SetLeftDown(true);
    e.SetRightDown(true);
    e.SetShiftDown(true);
    e.SetControlDown(true);
    EXPECT_EQ(QOR::detail::mkFlags(e), MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL);
}

TEST(WxArgs, WheelRotationIsCountedInHundredTwentiethsOfANotch) {
    EXPECT_EQ(QOR::detail::wheelDelta(wheel(120, 120)), 120);
    EXPECT_EQ(QOR::detail::wheelDelta(wheel(-240, 120)), -240);
    EXPECT_EQ(QOR::detail::wheelDelta(wheel(60, 120)), 60); // half a notch (a fine-grained wheel)
    EXPECT_EQ(QOR::detail::wheelDelta(wheel(1, 1)), 120);   // a toolkit that counts notches
    EXPECT_EQ(QOR::detail::wheelDelta(wheel(120, 0)), 120); // no unit given: 120ths
    EXPECT_EQ(QOR::detail::wheelDelta(wheel(INT_MAX, 1)), SHRT_MAX);
    EXPECT_EQ(QOR::detail::wheelDelta(wheel(INT_MIN, 1)), SHRT_MIN);
    EXPECT_EQ(QOR::detail::wheelDelta(wheel(120, 120, wxMOUSE_WHEEL_HORIZONTAL)), 0);
}

TEST(WxArgs, ClientPointIsTheEventPosition) {
    wxMouseEvent e(wxEVT_LEFT_DOWN);
    e.SetPosition(wxPoint(-3, 17));
    EXPECT_EQ(QOR::detail::clientPoint(e), CPoint(-3, 17));
}

} // namespace
