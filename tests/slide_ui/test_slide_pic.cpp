// The slide window on a real (virtual) X server: what the screen shows equals CSlide::paint on the core's
// raster device context for the same slide and size, a load repaints, and Copy reaches the clipboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include <wx/frame.h>

#include "qor/kernel/base/string.h"
#include "qor/kernel/data/file_find.h"
#include "qor/platform/clipboard.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/slide/ui/slide_pic.h"
#include "window_test.h"

namespace {

using namespace slide_ui;
namespace fs = std::filesystem;

fs::path demoSlide() {
    return fs::path(std::wstring(QOR::resourceDir().view())) / "demo" / "demo.sld";
}

/// What the core paints of slide into a w x h client area, as the window should show it.
wxImage corePaint(QOR::CSlide& slide, int w, int h, bool transparent = false, COLORREF under = 0) {
    CRasterDC dc;
    CBitmap bitmap;
    if (!dc.CreateCompatibleDC(nullptr) || !bitmap.CreateBitmap(w, h, 1, 32, nullptr)) return {};
    dc.SelectObject(&bitmap);
    const CRect rect(0, 0, w, h);
    if (transparent) dc.FillSolidRect(&rect, under);
    slide.paint(&dc, rect, transparent);
    return toImage(bitmap);
}

class SlideWindow : public testing::Test {
protected:
    /// A frame holding a slide window of w x h client pixels with style.
    void open(int w, int h, long style = 0) {
        m_frame = new wxFrame(nullptr, wxID_ANY, "qor test", wxPoint(20, 20), wxDefaultSize);
        m_frame->SetClientSize(w, h); // its only child fills it
        m_pic = new QOR::CSlidePic(m_frame, wxID_ANY, wxPoint(0, 0), wxSize(w, h), style);
        m_frame->Show();
        ASSERT_TRUE(waitFor([&] { return m_pic->IsShownOnScreen(); }));
    }
    void TearDown() override {
        if (m_frame) m_frame->Destroy();
        wxYield();
    }
    /// Waits until the window shows what the core paints of slide; "" when it does. Keeps the screenshot.
    std::string showsCore(QOR::CSlide& slide, const char* name, bool transparent = false,
                          COLORREF under = 0) {
        m_pic->Update();
        const wxSize size = m_pic->GetClientSize();
        const wxImage expected = corePaint(slide, size.x, size.y, transparent, under);
        std::string diff;
        waitFor([&] { return (diff = difference(screenshot(*m_pic), expected)).empty(); });
        keep(screenshot(*m_pic), name);
        return diff;
    }

    wxFrame* m_frame = nullptr;
    QOR::CSlidePic* m_pic = nullptr; // owned by the frame
};

TEST_F(SlideWindow, ShowsWhatTheCorePaintsPixelForPixel) {
    open(320, 200);
    // No slide yet: the neutral colour, outlined by the default pen.
    EXPECT_EQ(showsCore(*m_pic, "slide_pic_empty.png"), "");
    EXPECT_EQ(screenshot(*m_pic).GetRed(160, 100), GetRValue(QOR::kSlideNeutralColor));

    // A load repaints by itself; a wide window centres the slide horizontally.
    ASSERT_TRUE(m_pic->show(demoSlide().wstring().c_str()));
    QOR::CSlide reference;
    ASSERT_TRUE(reference.show(demoSlide().wstring().c_str()));
    EXPECT_EQ(showsCore(reference, "slide_pic_demo_320x200.png"), "");

    // Background index 7: white ground, colour 7 drawn black.
    m_pic->SetBkColor(7);
    reference.SetBkColor(7);
    m_pic->Refresh();
    EXPECT_EQ(showsCore(reference, "slide_pic_demo_back7.png"), "");

    // A tall window after a resize: centred vertically at the new scale.
    m_frame->SetClientSize(150, 260);
    ASSERT_TRUE(waitFor([&] { return m_pic->GetClientSize() == wxSize(150, 260); }));
    EXPECT_EQ(showsCore(reference, "slide_pic_demo_150x260.png"), "");

    // A file that is not there: no slide, the neutral colour again.
    EXPECT_FALSE(m_pic->show(L"/nonexistent/none.sld"));
    QOR::CSlide empty;
    EXPECT_EQ(showsCore(empty, "slide_pic_missing.png"), "");
}

TEST_F(SlideWindow, TransparentWindowDrawsOverItsBackgroundColour) {
    open(200, 150, wxTRANSPARENT_WINDOW);
    m_pic->SetBackgroundColour(wxColour(10, 120, 30));
    ASSERT_TRUE(m_pic->show(demoSlide().wstring().c_str()));
    QOR::CSlide reference;
    ASSERT_TRUE(reference.show(demoSlide().wstring().c_str()));
    EXPECT_EQ(showsCore(reference, "slide_pic_transparent.png", true, RGB(10, 120, 30)), "");
}

TEST_F(SlideWindow, CopyPutsTheSlideAtItsOwnSizeOnTheClipboard) {
    open(100, 80);
    ASSERT_TRUE(m_pic->show(demoSlide().wstring().c_str()));
    long w = 0, h = 0;
    ASSERT_TRUE(m_pic->getSize(w, h));
    ASSERT_TRUE(m_pic->Copy());
    const HENHMETAFILE emf = QOR::clipboard().getEnhMetaFile();
    ASSERT_FALSE(emf.isNull());
    // The same metafile the slide records by itself at its own size, whatever the window's size.
    const HENHMETAFILE expected = m_pic->CreateEnhMetaFileW(CRect(0, 0, int(w), int(h)));
    EXPECT_TRUE(std::ranges::equal(emf.bytes(), expected.bytes()));
}

} // namespace
