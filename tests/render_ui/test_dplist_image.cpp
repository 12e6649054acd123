// The display-list view windows on a real (virtual) X server: the mouse handlers' behaviour called
// directly, a few real input events to prove the bindings, and screenshots of the window compared with
// the core's paintToBitmap of the same list and size.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/mstream.h>
#include <wx/stopwatch.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "../render/tiled_demo.h"
#include "qor/platform/resources.h"
#include "qor/render/render.h"
#include "qor/render/ui/dplist_image.h"
#include "qor/render/ui/wx_args.h"
#include "wait_for.h"

namespace {

using Path = CQorArrayTempl<int>;
constexpr int kWidth = 240, kHeight = 180;
constexpr int kWindowId = 4711;

using qor_test::waitFor;

/// The window's client area as the screen shows it, read back through the window itself.
wxImage screenshot(wxWindow& window) {
    const wxSize size = window.GetClientSize();
    wxBitmap bitmap(size.x, size.y, 24);
    wxMemoryDC memory(bitmap);
    wxClientDC client(&window);
    memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
    memory.SelectObject(wxNullBitmap);
    return bitmap.ConvertToImage();
}

/// The first pixel at which image and bitmap differ, as "x,y: screen #rrggbb, core #rrggbb"; "" for none.
std::string difference(const wxImage& image, const CBitmap& bitmap) {
    if (!bitmap.surface() || image.GetWidth() != bitmap.width() || image.GetHeight() != bitmap.height())
        return "sizes differ";
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x) {
            const COLORREF core = bitmap.surface()->colorAt(x, y);
            if (image.GetRed(x, y) != GetRValue(core) || image.GetGreen(x, y) != GetGValue(core) ||
                image.GetBlue(x, y) != GetBValue(core))
                return wxString::Format("%d,%d: screen #%02x%02x%02x, core #%06x", x, y, image.GetRed(x, y),
                                        image.GetGreen(x, y), image.GetBlue(x, y),
                                        unsigned(QOR::detail::pixelFromColor(core)))
                    .ToStdString();
        }
    return "";
}

/// Where screenshots go for a person to look at.
void keep(const wxImage& image, const char* name) {
    std::filesystem::create_directories(QOR_TEST_OUT_DIR);
    image.SaveFile(wxString(QOR_TEST_OUT_DIR) + "/" + name, wxBITMAP_TYPE_PNG);
}

CQorVertexArray line(double x0, double y0, double x1, double y1) {
    CQorVertexArray vl;
    vl.append(CQorPoint3d(x0, y0, 0), CQorPoint3d(x1, y1, 0));
    return vl;
}

/// A top-level frame holding the view window at its top-left corner; it counts the picks posted to it.
class ViewWindow : public testing::Test {
protected:
    void SetUp() override {
        m_frame = new wxFrame(nullptr, wxID_ANY, "qor test", wxPoint(20, 20), wxDefaultSize);
        m_frame->SetClientSize(kWidth, kHeight);
        m_view = new CQorDplistImage(m_frame, kWindowId, wxPoint(0, 0), wxSize(kWidth, kHeight));
        m_frame->Bind(QOR_EVT_ITEM_PICKED, [this](wxCommandEvent& e) {
            m_picks.push_back(e.GetInt());
            m_pickIds.push_back(e.GetId());
        });
        m_frame->Show();
        ASSERT_TRUE(waitFor([&] { return m_view->IsShownOnScreen(); }));
    }
    void TearDown() override {
        m_view->set_dpList(nullptr); // the tests' lists are gone when the frame paints for the last time
        m_frame->Destroy();
        wxYield();
    }
    /// Identity matrices: model coordinates are client pixels.
    static CQorGDX pixelList() {
        CQorGDX gdx(CQorColor(250), CQorMatrix3d(), 1.0, 0, CQorPoint3d(), CQorPoint3d());
        gdx.imageVl(Path{0}, 0, line(20, 40, 120, 40), CQorColor(1), CQorMatrix3d(), {}, 1.0, 1, {});
        gdx.imageVl(Path{5, 2}, 0, line(20, 120, 120, 120), CQorColor(3), CQorMatrix3d(), {}, 1.0, 1, {});
        return gdx;
    }
    wxPoint screen(int x, int y) const { return m_view->ClientToScreen(wxPoint(x, y)); }
    CPoint screenPt(int x, int y) const {
        const wxPoint p = screen(x, y);
        return CPoint(p.x, p.y);
    }
    void processPosted() {
        wxTheApp->ProcessPendingEvents();
        wxYield();
    }
    /// Waits until the window shows what paintToBitmap draws of gdx; "" when it does.
    std::string showsCore(CQorGDX& gdx, const char* name) {
        m_view->Refresh();
        m_view->Update();
        CQorGDX copy(gdx); // the window's paint sorts the list; so does paintToBitmap: same order
        CBitmap expected;
        if (!QOR::paintToBitmap(&copy, expected, kWidth, kHeight)) return "paintToBitmap failed";
        std::string diff;
        waitFor([&] { return (diff = difference(screenshot(*m_view), expected)).empty(); });
        keep(screenshot(*m_view), name);
        return diff;
    }

    wxFrame* m_frame = nullptr;
    CQorDplistImage* m_view = nullptr; // owned by the frame
    std::vector<int> m_picks, m_pickIds;
};

TEST_F(ViewWindow, WheelZoomsAboutTheCursorByTheDeltaOverAHundred) {
    CQorGDX gdx = pixelList();
    ASSERT_TRUE(m_view->set_dpList(&gdx));
    struct Case {
        short delta;
        double scale; // of the zoom matrix after one turn from identity
    };
    for (const Case c :
         {Case{120, 1.2}, Case{-120, 1.0 / 1.2}, Case{240, 2.4}, Case{60, 0.6}, Case{-60, 1 / 0.6}}) {
        m_view->zoomExtents();
        EXPECT_EQ(m_view->OnMouseWheel(0, c.delta, screenPt(60, 50)), 1);
        const CQorMatrix3d& zoom = m_view->zoomMtx();
        EXPECT_NEAR(zoom.entry[0][0], c.scale, 1e-12) << c.delta;
        EXPECT_NEAR(zoom.entry[1][1], c.scale, 1e-12) << c.delta;
        // The point under the cursor stays put.
        EXPECT_NEAR(zoom.entry[0][3], 60 - 60 * c.scale, 1e-9) << c.delta;
        EXPECT_NEAR(zoom.entry[1][3], 50 - 50 * c.scale, 1e-9) << c.delta;
        EXPECT_TRUE(gdx.zoomMtxGet().isEqualTo(zoom, 0.0)) << "the list has the window's zoom";
    }

    // Two notches compose about their own cursor points.
    m_view->zoomExtents();
    m_view->OnMouseWheel(0, 120, screenPt(0, 0));
    m_view->OnMouseWheel(0, 120, screenPt(0, 0));
    EXPECT_NEAR(m_view->zoomMtx().entry[0][0], 1.44, 1e-12);

    // With the middle button held the wheel is left to wx, and nothing changes.
    const CQorMatrix3d before = m_view->zoomMtx();
    EXPECT_EQ(m_view->OnMouseWheel(MK_MBUTTON, 120, screenPt(60, 50)), 0);
    EXPECT_TRUE(m_view->zoomMtx().isEqualTo(before, 0.0));
    // A delta of 0 would scale by 1/0: handled without change.
    EXPECT_EQ(m_view->OnMouseWheel(0, 0, screenPt(60, 50)), 1);
    EXPECT_TRUE(m_view->zoomMtx().isEqualTo(before, 0.0));

    // Without a list: handled, nothing to zoom.
    EXPECT_FALSE(m_view->set_dpList(nullptr));
    EXPECT_EQ(m_view->OnMouseWheel(0, 120, screenPt(60, 50)), 1);
    EXPECT_TRUE(m_view->zoomMtx().isEqualTo(before, 0.0));
}

TEST_F(ViewWindow, MiddleDragPansByTheMouseDistanceFromWhereItStarted) {
    CQorGDX gdx = pixelList();
    m_view->set_dpList(&gdx);
    m_view->OnMouseWheel(0, 120, screenPt(100, 100)); // translation (-20, -20)

    // Without the focus a move pans nothing, middle button or not.
    auto* other = new wxWindow(m_frame, wxID_ANY, wxPoint(0, kHeight - 10), wxSize(10, 10));
    other->SetFocus();
    ASSERT_TRUE(waitFor([&] { return wxWindow::FindFocus() == other; }));
    m_view->OnMouseMove(MK_MBUTTON, CPoint(90, 90));
    EXPECT_DOUBLE_EQ(m_view->zoomMtx().entry[0][3], -20);

    m_view->SetFocus();
    ASSERT_TRUE(waitFor([&] { return wxWindow::FindFocus() == m_view; }));

    m_view->OnMButtonDown(MK_MBUTTON, CPoint(50, 60));
    EXPECT_TRUE(m_view->HasCapture());
    m_view->OnMouseMove(MK_MBUTTON, CPoint(80, 45));
    EXPECT_DOUBLE_EQ(m_view->zoomMtx().entry[0][3], -20 + 30);
    EXPECT_DOUBLE_EQ(m_view->zoomMtx().entry[1][3], -20 - 15);
    EXPECT_DOUBLE_EQ(m_view->zoomMtx().entry[0][0], 1.2) << "panning moves, never scales";
    m_view->OnMouseMove(MK_MBUTTON, CPoint(50, 60)); // back to the start: back to the origin
    EXPECT_DOUBLE_EQ(m_view->zoomMtx().entry[0][3], -20);
    EXPECT_TRUE(gdx.zoomMtxGet().isEqualTo(m_view->zoomMtx(), 0.0));
    m_view->OnMButtonUp(0, CPoint(50, 60));
    EXPECT_FALSE(m_view->HasCapture());

    // A move without the middle button pans nothing.
    m_view->OnMouseMove(0, CPoint(200, 10));
    EXPECT_DOUBLE_EQ(m_view->zoomMtx().entry[0][3], -20);

    // A middle double click fits the view again: identity zoom for window and list.
    m_view->OnMButtonDblClk(0, CPoint(5, 5));
    EXPECT_TRUE(m_view->zoomMtx().isEqualTo(CQorMatrix3d(), 0.0));
    EXPECT_TRUE(gdx.zoomMtxGet().isEqualTo(CQorMatrix3d(), 0.0));
}

TEST_F(ViewWindow, ALeftClickPostsTheTopLevelIdOfTheItemHitAndNothingOnEmptySpace) {
    CQorGDX gdx = pixelList();
    m_view->set_dpList(&gdx);
    m_view->OnLButtonDown(MK_LBUTTON, CPoint(70, 41));   // top-level id 0
    m_view->OnLButtonDown(MK_LBUTTON, CPoint(70, 118));  // path (5, 2)
    m_view->OnLButtonDown(MK_LBUTTON, CPoint(200, 160)); // nothing there
    processPosted();
    EXPECT_EQ(m_picks, (std::vector<int>{0, 5}));
    EXPECT_EQ(m_pickIds, (std::vector<int>{kWindowId, kWindowId}));

    // Without a list a click posts nothing.
    m_picks.clear();
    m_view->set_dpList(nullptr);
    m_view->OnLButtonDown(MK_LBUTTON, CPoint(70, 41));
    processPosted();
    EXPECT_TRUE(m_picks.empty());
}

TEST_F(ViewWindow, RealInputReachesTheHandlers) {
    CQorGDX gdx = pixelList();
    m_view->set_dpList(&gdx);
    wxUIActionSimulator sim;

    // A left click on the first line.
    sim.MouseMove(screen(70, 40));
    sim.MouseClick(wxMOUSE_BTN_LEFT);
    EXPECT_TRUE(waitFor([&] { return m_picks.size() == 1; }));
    EXPECT_EQ(m_picks, std::vector<int>{0});

    // A middle drag pans by the distance the mouse moved.
    sim.MouseMove(screen(100, 100));
    sim.MouseDown(wxMOUSE_BTN_MIDDLE);
    sim.MouseMove(screen(130, 90));
    EXPECT_TRUE(waitFor([&] { return m_view->zoomMtx().entry[0][3] == 30.0; }));
    EXPECT_EQ(m_view->zoomMtx().entry[1][3], -10.0);
    sim.MouseUp(wxMOUSE_BTN_MIDDLE);
    EXPECT_TRUE(waitFor([&] { return !m_view->HasCapture(); }));

    // A middle double click fits.
    sim.MouseDblClick(wxMOUSE_BTN_MIDDLE);
    EXPECT_TRUE(waitFor([&] { return m_view->zoomMtx().isEqualTo(CQorMatrix3d(), 0.0); }));

    // The wheel: a wx event carrying one notch at a point, as GTK delivers it.
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.SetPosition(wxPoint(60, 50));
    wheel.m_wheelRotation = 120;
    wheel.m_wheelDelta = 120;
    wheel.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
    wheel.SetEventObject(m_view);
    m_view->GetEventHandler()->ProcessEvent(wheel);
    EXPECT_NEAR(m_view->zoomMtx().entry[0][0], 1.2, 1e-12);
    EXPECT_NEAR(m_view->zoomMtx().entry[0][3], 60 - 72, 1e-9);
}

TEST_F(ViewWindow, ScreenshotsEqualTheCoreDrawingPixelForPixel) {
    CQorGDX gdx;
    ASSERT_TRUE(tiledDemo(gdx, 0, kWidth, kHeight));
    m_view->set_dpList(&gdx);
    m_view->zoomExtents();
    EXPECT_EQ(showsCore(gdx, "view_fitted.png"), "");
    m_view->OnMouseWheel(0, 240, screenPt(80, 60));
    EXPECT_EQ(showsCore(gdx, "view_zoomed.png"), "");

    // A list large enough for the renderer's drawing threads.
    CQorGDX large;
    ASSERT_TRUE(tiledDemo(large, 20000, kWidth, kHeight));
    m_view->set_dpList(&large);
    m_view->zoomExtents();
    EXPECT_EQ(showsCore(large, "view_large.png"), "");

    // Without a list the window shows its background only.
    EXPECT_FALSE(m_view->set_dpList(nullptr));
    m_view->Update();
    const wxColour back = m_view->GetBackgroundColour();
    const auto plain = [&] {
        const wxImage shot = screenshot(*m_view);
        for (int y = 0; y < shot.GetHeight(); ++y)
            for (int x = 0; x < shot.GetWidth(); ++x)
                if (shot.GetRed(x, y) != back.Red() || shot.GetGreen(x, y) != back.Green() ||
                    shot.GetBlue(x, y) != back.Blue())
                    return false;
        return true;
    };
    EXPECT_TRUE(waitFor(plain));
    keep(screenshot(*m_view), "view_detached.png");
}

TEST(PanCursor, IsTheLibrarysCursorResourceWithItsHotSpot) {
    const std::span<const unsigned char> bytes = QOR::resourceFind(RT_GROUP_CURSOR, 4006);
    ASSERT_FALSE(bytes.empty());
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    wxImage image;
    ASSERT_TRUE(image.LoadFile(stream, wxBITMAP_TYPE_CUR));
    EXPECT_GT(image.GetWidth(), 0);
    EXPECT_TRUE(image.HasOption(wxIMAGE_OPTION_CUR_HOTSPOT_X));
    EXPECT_TRUE(QOR::detail::panCursor().IsOk());
}

/// The colour mode of the items under path (all of them have the same one); -1 when there are none.
int colorMode(const CQorGDX& gdx, int id) {
    const Path items = gdx.StackToItemNr(Path{id});
    return items.len() ? int((gdx.flagGet(items[0]) >> 8) & 15) : -1;
}

TEST_F(ViewWindow, PolylineViewContrastAndHighlight) {
    auto* vll = new CQorVllImage(m_frame, wxID_ANY, wxPoint(0, 0), wxSize(kWidth, kHeight));
    vll->SetBkColor(RGB(128, 128, 128));
    EXPECT_EQ(vll->contrastColor(), 0u);
    EXPECT_EQ(vll->list().colorTabGet(static_cast<QOR::GdxColorMode>(6)).oleColor() & 0xFFFFFF, 0u);
    vll->SetBkColor(RGB(127, 127, 127));
    EXPECT_EQ(vll->contrastColor(), 0xFFFFFFu);
    EXPECT_EQ(vll->list().colorTabGet(static_cast<QOR::GdxColorMode>(6)).oleColor() & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(vll->list().backColorGet().oleColor() & 0xFFFFFF, RGB(127, 127, 127));

    ASSERT_TRUE(vll->setVll({line(0, 0, 10, 0), line(0, 5, 10, 5), line(0, 10, 10, 10)}));
    EXPECT_EQ(vll->list().lenGet(), 4); // the base point and three polylines
    EXPECT_EQ(vll->SetCurVl(1), -1);
    EXPECT_EQ(colorMode(vll->list(), 2), 1);
    EXPECT_EQ(vll->SetCurVl(2), 1);
    EXPECT_EQ(colorMode(vll->list(), 2), 6);
    EXPECT_EQ(colorMode(vll->list(), 3), 1);
    EXPECT_EQ(vll->SetCurVl(-1), 2);
    for (int id = 1; id <= 3; ++id)
        EXPECT_EQ(colorMode(vll->list(), id), 6) << id;
    EXPECT_EQ(vll->SetCurVl(-1), -1);

    // The base point: shown and counted in the extents, or neither.
    EXPECT_TRUE(vll->setDrawBase(false));
    const Path base = vll->list().StackToItemNr(Path{0});
    ASSERT_EQ(base.len(), 1);
    EXPECT_EQ(vll->list().flagGet(base[0]) & 0xC, 0xCu);
    EXPECT_FALSE(vll->setDrawBase(true));
    EXPECT_EQ(vll->list().flagGet(base[0]) & 0xC, 0u);
    vll->Destroy();
}

} // namespace
