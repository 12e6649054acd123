// The picture viewer on a real (virtual) X server: sizes from the file's resolution, the fit, zoom steps
// and their limits, panning, the screen against the expected frame, Copy and failed loads.
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include <wx/file.h>
#include <wx/frame.h>
#include <wx/gdicmn.h>
#include <wx/palette.h>
#include <wx/uiaction.h>

#include "qor/kernel/locale/messages.h"
#include "qor/platform/clipboard.h"
#include "qor/platform/emf/emf_dc.h"
#include "qor/platform/emf/emf_player.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/render/ui/wx_args.h"
#include "qor/slide/ui/picture.h"
#include "window_test.h"

namespace {

using namespace slide_ui;
namespace fs = std::filesystem;

constexpr int kWidth = 200, kHeight = 150;
constexpr DWORD kBack = RGB(20, 40, 60);

/// The viewer with its message box replaced by a record of what it would have shown.
class TestPicture : public QOR::CPicture {
public:
    using QOR::CPicture::CPicture;
    std::vector<std::pair<wxString, wxString>> errors; // text, title
protected:
    void showError(const wxString& text, const wxString& title) override { errors.emplace_back(text, title); }
};

/// A picture of w x h pixels, each with a colour of its own position (so a shift shows).
wxImage pattern(int w, int h) {
    wxImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.SetRGB(x, y, static_cast<unsigned char>(x * 4), static_cast<unsigned char>(y * 4),
                         static_cast<unsigned char>(200 - (x + y) % 50));
    return image;
}

/// A picture in four colours with its palette, as GIF needs.
wxImage fourColours(int w, int h) {
    const unsigned char r[] = {0, 255, 0, 40}, g[] = {0, 0, 255, 80}, b[] = {0, 0, 0, 255};
    wxImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int i = (x / 8 + y / 8) % 4;
            image.SetRGB(x, y, r[i], g[i], b[i]);
        }
    image.SetPalette(wxPalette(4, r, g, b));
    return image;
}

/// The display's resolution as the viewer reads it.
int displayDpi() {
    const int dpi = wxGetDisplayPPI().x;
    return dpi > 0 ? dpi : 96;
}

class PictureViewer : public testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("qor_picture_" + std::to_string(wxGetProcessId()));
        fs::create_directories(m_dir);
        m_frame = new wxFrame(nullptr, wxID_ANY, "qor test", wxPoint(20, 20), wxDefaultSize);
        m_frame->SetClientSize(kWidth, kHeight); // its only child fills it
        m_pic = new TestPicture(m_frame, wxID_ANY, wxPoint(0, 0), wxSize(kWidth, kHeight));
        m_pic->SetBackColor(kBack);
        m_frame->Show();
        ASSERT_TRUE(waitFor([&] { return m_pic->IsShownOnScreen(); }));
    }
    void TearDown() override {
        m_frame->Destroy();
        wxYield();
        fs::remove_all(m_dir);
    }
    /// image saved as name in the scratch folder; its path.
    std::wstring save(wxImage image, const char* name, wxBitmapType type) {
        const fs::path path = m_dir / name;
        EXPECT_TRUE(image.SaveFile(path.string(), type)) << name;
        return path.wstring();
    }
    wxPoint screen(int x, int y) const { return m_pic->ClientToScreen(wxPoint(x, y)); }
    CPoint screenPt(int x, int y) const {
        const wxPoint p = screen(x, y);
        return CPoint(p.x, p.y);
    }
    /// The frame the window should show: the back colour with image at origin, unscaled.
    static wxImage expectedFrame(const wxImage& image, CPoint origin) {
        wxImage frame(kWidth, kHeight);
        frame.SetRGB(wxRect(0, 0, kWidth, kHeight), GetRValue(kBack), GetGValue(kBack), GetBValue(kBack));
        frame.Paste(image, origin.x, origin.y);
        return frame;
    }

    fs::path m_dir;
    wxFrame* m_frame = nullptr;
    TestPicture* m_pic = nullptr; // owned by the frame
};

TEST_F(PictureViewer, SizesComeFromTheFilesResolutionOr96Dpi) {
    const int dpi = displayDpi();
    struct Case {
        const char* name;
        wxBitmapType type;
        int resolution; // dots per inch written into the file; 0 for none
        int stored;     // dots per inch the file holds then; 0 for none
    };
    for (const Case c :
         {Case{"plain.png", wxBITMAP_TYPE_PNG, 0, 0}, Case{"fine.png", wxBITMAP_TYPE_PNG, 300, 300},
          Case{"photo.jpg", wxBITMAP_TYPE_JPEG, 72, 72}, Case{"plain.bmp", wxBITMAP_TYPE_BMP, 150, 150},
          Case{"scan.tif", wxBITMAP_TYPE_TIFF, 200, 200}, Case{"icon.gif", wxBITMAP_TYPE_GIF, 0, 0},
          // wx's icon writer stores 2800 dots per metre (71 dpi) in the header of the icon's bitmap.
          Case{"icon.ico", wxBITMAP_TYPE_ICO, 0, 71}}) {
        wxImage image = c.type == wxBITMAP_TYPE_GIF ? fourColours(48, 32) : pattern(48, 32);
        if (c.resolution) {
            image.SetOption(wxIMAGE_OPTION_RESOLUTIONUNIT, wxIMAGE_RESOLUTION_INCHES);
            image.SetOption(wxIMAGE_OPTION_RESOLUTIONX, c.resolution);
            image.SetOption(wxIMAGE_OPTION_RESOLUTIONY, c.resolution);
        }
        const std::wstring path = save(image, c.name, c.type);
        ASSERT_TRUE(m_pic->LoadImage(path.c_str()));
        ASSERT_TRUE(m_pic->hasPicture()) << c.name;
        EXPECT_TRUE(m_pic->errors.empty()) << c.name;
        const double fileDpi = c.stored ? c.stored : 96.0;
        const int himetricW = int(std::lround(48 * 2540 / fileDpi)),
                  himetricH = int(std::lround(32 * 2540 / fileDpi));
        // The JPEG and PNG writers keep the resolution only to a whole number per centimetre or inch.
        EXPECT_NEAR(m_pic->himetricWidth(), himetricW, himetricW / 100) << c.name;
        EXPECT_NEAR(m_pic->himetricHeight(), himetricH, himetricH / 100) << c.name;
        EXPECT_EQ(m_pic->pixelWidth(), (m_pic->himetricWidth() * dpi + 1270) / 2540) << c.name;
        EXPECT_EQ(m_pic->pixelHeight(), (m_pic->himetricHeight() * dpi + 1270) / 2540) << c.name;
    }
}

TEST_F(PictureViewer, SmallPicturesAreCentredAtNaturalSizeLargeOnesShrunkByTheLargerRatio) {
    ASSERT_EQ(displayDpi(), 96) << "the virtual screen's resolution; the sizes below assume it";
    struct Case {
        int w, h;
        int shownW, shownH; // after the fit
    };
    for (const Case c : {Case{60, 40, 60, 40}, Case{200, 150, 200, 150}, Case{400, 150, 200, 75},
                         Case{100, 600, 25, 150}, Case{400, 450, 133, 150}}) {
        const wxImage image = pattern(c.w, c.h);
        const std::wstring path = save(image, "fit.png", wxBITMAP_TYPE_PNG);
        ASSERT_TRUE(m_pic->LoadImage(path.c_str()));
        EXPECT_EQ(m_pic->zoom(), 1.0);
        EXPECT_EQ(m_pic->origin().x, (kWidth - c.shownW) / 2) << c.w << "x" << c.h;
        EXPECT_EQ(m_pic->origin().y, (kHeight - c.shownH) / 2) << c.w << "x" << c.h;
    }

    // The screen: the picture's own pixels, centred on the back colour.
    const wxImage image = pattern(60, 40);
    ASSERT_TRUE(m_pic->LoadImage(save(image, "small.png", wxBITMAP_TYPE_PNG).c_str()));
    EXPECT_EQ(m_pic->origin(), CPoint(70, 55));
    const wxImage expected = expectedFrame(image, m_pic->origin());
    std::string diff;
    EXPECT_TRUE(waitFor([&] { return (diff = difference(screenshot(*m_pic), expected)).empty(); })) << diff;
    keep(screenshot(*m_pic), "picture_centred.png");

    // A shrunk picture fills the window along its longer side.
    ASSERT_TRUE(m_pic->LoadImage(save(pattern(400, 150), "wide.png", wxBITMAP_TYPE_PNG).c_str()));
    settle();
    const wxImage shot = screenshot(*m_pic);
    keep(shot, "picture_shrunk.png");
    const auto isBack = [&](int x, int y) {
        return shot.GetRed(x, y) == GetRValue(kBack) && shot.GetGreen(x, y) == GetGValue(kBack) &&
               shot.GetBlue(x, y) == GetBValue(kBack);
    };
    EXPECT_TRUE(isBack(100, 36));
    EXPECT_FALSE(isBack(100, 38));
    EXPECT_FALSE(isBack(0, 75));
    EXPECT_FALSE(isBack(199, 75));
    EXPECT_FALSE(isBack(100, 111));
    EXPECT_TRUE(isBack(100, 113));
}

TEST_F(PictureViewer, WheelStepsByOneAndAHalfWithinItsLimitsAboutTheCursor) {
    ASSERT_TRUE(m_pic->LoadImage(save(pattern(60, 40), "zoom.png", wxBITMAP_TYPE_PNG).c_str()));
    const CPoint at = screenPt(100, 75);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(m_pic->OnMouseWheel(0, 120, at), 1);
    EXPECT_DOUBLE_EQ(m_pic->zoom(), 7.59375);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m_pic->OnMouseWheel(0, 120, at), 1);
    EXPECT_NEAR(m_pic->zoom(), 25.63, 0.01);
    const CPoint before = m_pic->origin();
    EXPECT_EQ(m_pic->OnMouseWheel(0, 120, at), 0) << "the ninth step in is refused";
    EXPECT_NEAR(m_pic->zoom(), 25.63, 0.01);
    EXPECT_EQ(m_pic->origin(), before);

    // Out: every delta that is not positive; refused once below a half.
    m_pic->Reset();
    EXPECT_EQ(m_pic->OnMouseWheel(0, -120, at), 1);
    EXPECT_EQ(m_pic->OnMouseWheel(0, 0, at), 1);
    EXPECT_NEAR(m_pic->zoom(), 1 / 2.25, 1e-12);
    EXPECT_EQ(m_pic->OnMouseWheel(0, -120, at), 0);

    // The picture point under the cursor stays put, up to the truncation of the origin.
    m_pic->Reset();
    const CPoint cursor(83, 61);
    for (const short delta : {120, 120, -120, 120, -120, -120, -120}) {
        const double u = (cursor.x - m_pic->origin().x) / m_pic->zoom();
        const double v = (cursor.y - m_pic->origin().y) / m_pic->zoom();
        m_pic->OnMouseWheel(0, delta, screenPt(cursor.x, cursor.y));
        EXPECT_NEAR(m_pic->origin().x + u * m_pic->zoom(), cursor.x, 1.0) << m_pic->zoom();
        EXPECT_NEAR(m_pic->origin().y + v * m_pic->zoom(), cursor.y, 1.0) << m_pic->zoom();
    }
    // Zoomed in twice about the picture's top-left pixel: that pixel is 2.25 times as large on screen.
    m_pic->Reset();
    m_pic->OnMouseWheel(0, 120, screenPt(70, 55));
    m_pic->OnMouseWheel(0, 120, screenPt(70, 55));
    EXPECT_EQ(m_pic->origin(), CPoint(70, 55));
    m_pic->Update();
    settle();
    const wxImage shot = screenshot(*m_pic);
    keep(shot, "picture_zoomed.png");
    EXPECT_EQ(shot.GetRed(71, 56), 0);
    EXPECT_EQ(shot.GetRed(72, 56), 4); // pixel 1 of the picture starts at 70 + 2.25
    EXPECT_EQ(shot.GetGreen(72, 57), 4);

    // Without a picture there is nothing to zoom.
    ASSERT_TRUE(m_pic->LoadImage(L"/nonexistent/none.png"));
    EXPECT_EQ(m_pic->OnMouseWheel(0, 120, at), 0);
}

TEST_F(PictureViewer, MiddleDragPansFromWhereItStarted) {
    ASSERT_TRUE(m_pic->LoadImage(save(pattern(60, 40), "pan.png", wxBITMAP_TYPE_PNG).c_str()));
    m_pic->OnMouseMove(MK_MBUTTON, CPoint(90, 90)); // no drag started: nothing moves
    EXPECT_EQ(m_pic->origin(), CPoint(70, 55));
    m_pic->OnMButtonDown(MK_MBUTTON, CPoint(50, 60));
    EXPECT_TRUE(m_pic->HasCapture());
    m_pic->OnMouseMove(MK_MBUTTON, CPoint(80, 45));
    EXPECT_EQ(m_pic->origin(), CPoint(100, 40));
    m_pic->OnMouseMove(0, CPoint(10, 10)); // the button is no longer held: ignored
    EXPECT_EQ(m_pic->origin(), CPoint(100, 40));
    m_pic->OnMButtonUp(0, CPoint(80, 45));
    EXPECT_FALSE(m_pic->HasCapture());
    m_pic->OnMouseMove(MK_MBUTTON, CPoint(0, 0));
    EXPECT_EQ(m_pic->origin(), CPoint(100, 40));
    m_pic->Reset();
    EXPECT_EQ(m_pic->origin(), CPoint(70, 55));
}

TEST_F(PictureViewer, RealInputReachesTheHandlers) {
    ASSERT_TRUE(m_pic->LoadImage(save(pattern(60, 40), "input.png", wxBITMAP_TYPE_PNG).c_str()));
    wxUIActionSimulator sim;
    sim.MouseMove(screen(100, 100));
    sim.MouseDown(wxMOUSE_BTN_MIDDLE);
    sim.MouseMove(screen(130, 90));
    EXPECT_TRUE(waitFor([&] { return m_pic->origin() == CPoint(100, 45); }));
    sim.MouseUp(wxMOUSE_BTN_MIDDLE);
    EXPECT_TRUE(waitFor([&] { return !m_pic->HasCapture(); }));

    // The wheel: a wx event carrying one notch, as GTK delivers it; a horizontal one is left alone.
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.SetPosition(wxPoint(100, 45));
    wheel.m_wheelRotation = 120;
    wheel.m_wheelDelta = 120;
    wheel.m_wheelAxis = wxMOUSE_WHEEL_HORIZONTAL;
    wheel.SetEventObject(m_pic);
    m_pic->GetEventHandler()->ProcessEvent(wheel);
    EXPECT_EQ(m_pic->zoom(), 1.0);
    wheel.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
    m_pic->GetEventHandler()->ProcessEvent(wheel);
    EXPECT_EQ(m_pic->zoom(), 1.5);
    EXPECT_EQ(m_pic->origin(), CPoint(100, 45)) << "zoomed about the picture's corner under the cursor";
}

TEST_F(PictureViewer, CopyPutsThePictureOnTheClipboardOnlyWhenThereIsOne) {
    // Without a picture the clipboard keeps what it holds.
    CMetaFileDC dc;
    ASSERT_TRUE(dc.CreateEnhanced(nullptr, nullptr, nullptr, nullptr));
    dc.MoveTo(0, 0);
    dc.LineTo(5, 5);
    HENHMETAFILE mark = dc.CloseEnhanced();
    const std::vector<unsigned char> markBytes(mark.bytes().begin(), mark.bytes().end());
    QOR::ClipboardBackend& board = QOR::clipboard();
    ASSERT_TRUE(board.open());
    board.empty();
    ASSERT_TRUE(board.setEnhMetaFile(mark));
    board.close();
    EXPECT_FALSE(m_pic->Copy());
    EXPECT_TRUE(std::ranges::equal(board.getEnhMetaFile().bytes(), markBytes));

    // With one: the picture at its pixel size, played back pixel for pixel.
    const wxImage image = pattern(60, 40);
    ASSERT_TRUE(m_pic->LoadImage(save(image, "copy.png", wxBITMAP_TYPE_PNG).c_str()));
    ASSERT_TRUE(board.open()); // somebody else holds the clipboard
    EXPECT_FALSE(m_pic->Copy());
    board.close();
    ASSERT_TRUE(m_pic->Copy());
    const HENHMETAFILE copied = board.getEnhMetaFile();
    ASSERT_FALSE(copied.isNull());
    CRasterDC raster;
    CBitmap played;
    ASSERT_TRUE(raster.CreateCompatibleDC(nullptr));
    ASSERT_TRUE(played.CreateBitmap(m_pic->pixelWidth(), m_pic->pixelHeight(), 1, 32, nullptr));
    raster.SelectObject(&played);
    const CRect all(0, 0, m_pic->pixelWidth(), m_pic->pixelHeight());
    ASSERT_TRUE(PlayEnhMetaFile(&raster, copied, &all));
    EXPECT_EQ(difference(toImage(played), image), "");
}

TEST_F(PictureViewer, FailedLoadsSayWhyAndLeaveNoPicture) {
    ASSERT_TRUE(m_pic->LoadImage(save(pattern(60, 40), "good.png", wxBITMAP_TYPE_PNG).c_str()));
    // A null path changes nothing.
    EXPECT_FALSE(m_pic->LoadImage(nullptr));
    EXPECT_TRUE(m_pic->hasPicture());
    EXPECT_TRUE(m_pic->errors.empty());

    // A missing file: the system's text for it.
    EXPECT_TRUE(m_pic->LoadImage((m_dir / "missing.png").wstring().c_str()));
    EXPECT_FALSE(m_pic->hasPicture());
    ASSERT_EQ(m_pic->errors.size(), 1u);
    EXPECT_EQ(m_pic->errors[0].first, wxSysErrorMsgStr(ENOENT));
    EXPECT_EQ(m_pic->errors[0].second, "CPicture::LoadImage");
    // A folder cannot be read as a file either.
    EXPECT_TRUE(m_pic->LoadImage(m_dir.wstring().c_str()));
    ASSERT_EQ(m_pic->errors.size(), 2u);
    EXPECT_EQ(m_pic->errors[1].first, wxSysErrorMsgStr(EISDIR));

    // Bytes that are no picture, an empty file and a cut-off PNG: the library's text, in the language set.
    const fs::path junk = m_dir / "junk.png", empty = m_dir / "empty.png", cut = m_dir / "cut.png";
    wxFile(junk.string(), wxFile::write).Write("not a picture at all");
    wxFile(empty.string(), wxFile::write).Close();
    const std::wstring good = save(pattern(60, 40), "whole.png", wxBITMAP_TYPE_PNG);
    fs::copy_file(fs::path(good), cut);
    fs::resize_file(cut, 60);
    const wchar_t* previous = QOR::msgLangSet(nullptr);
    for (const auto& [language, text] : {std::pair{L"en", L"The file holds no picture that can be read."},
                                         std::pair{L"de", L"Die Datei enthält kein lesbares Bild."}}) {
        QOR::msgLangSet(language);
        for (const fs::path& bad : {junk, empty, cut}) {
            m_pic->errors.clear();
            EXPECT_TRUE(m_pic->LoadImage(bad.wstring().c_str()));
            EXPECT_FALSE(m_pic->hasPicture()) << bad;
            ASSERT_EQ(m_pic->errors.size(), 1u) << bad;
            EXPECT_EQ(m_pic->errors[0].first, wxString(text)) << bad;
        }
    }
    QOR::msgLangSet(previous);

    // What is left is the back colour, and Copy has nothing to give.
    settle();
    const wxImage shot = screenshot(*m_pic);
    EXPECT_EQ(shot.GetRed(100, 75), GetRValue(kBack));
    EXPECT_EQ(shot.GetBlue(100, 75), GetBValue(kBack));
    EXPECT_FALSE(m_pic->Copy());
    EXPECT_EQ(m_pic->pixelWidth(), 0);
}

} // namespace
