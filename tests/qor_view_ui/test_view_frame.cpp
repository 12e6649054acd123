// The frame of qor-view: every kind of file in its window, what a bad file leaves, drop, Save as, the
// View menu and the slide chooser.
#include <cstdio>
#include <fstream>
#include <iterator>

#include <wx/dnd.h>
#include <wx/filename.h>

#include "qor/platform/emf/emf_player.h"
#include "qor/platform/png_codec.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/render/render.h"
#include "qor/render/ui/dplist_image.h"
#include "qor/slide/ui/slide_pic.h"
#include "view_test.h"

using namespace view_test;

namespace {

std::string readText(const wxString& path) {
    std::ifstream in(path.fn_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// A scratch file holding text, removed at the end of the test.
class ScratchFile {
public:
    ScratchFile(const char* name, const char* text) : m_path(wxFileName::GetTempDir() + "/" + name) {
        std::ofstream(m_path.fn_str()) << text;
    }
    ~ScratchFile() { removeFile(m_path); }
    const wxString& path() const { return m_path; }

private:
    wxString m_path;
};

class ViewFrameTest : public FrameTest {
protected:
    /// Whether the menu would offer the command id now.
    bool menuEnabled(int id) {
        wxUpdateUIEvent update(id);
        update.SetEventObject(m_frame);
        m_frame->ProcessWindowEvent(update);
        return update.GetEnabled();
    }
};

} // namespace

TEST_F(ViewFrameTest, ShowsEveryKindInItsOwnWindow) {
    struct Case {
        wxString path;
        ViewFrame::Shown shown;
        const char* shot;
    };
    const Case cases[] = {
        {resFile("demo/demo.json"), ViewFrame::Shown::List, "frame_list.png"},
        {resFile("demo/demo.sld"), ViewFrame::Shown::Slide, "frame_slide.png"},
        {resFile("demo/demo.slb"), ViewFrame::Shown::Slide, "frame_library.png"},
        {dataFile("png/scene_rgb.png"), ViewFrame::Shown::Picture, "frame_picture.png"},
        {resFile("objects/drill_tapped.json"), ViewFrame::Shown::Object, "frame_object.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.ToStdString());
        ASSERT_TRUE(m_frame->open(c.path));
        EXPECT_EQ(m_frame->shown(), c.shown);
        EXPECT_EQ(m_frame->slideChooser()->IsShown(), c.path.EndsWith(".slb"));
        const wxImage image = shot();
        keep(image, c.shot);
        EXPECT_TRUE(showsSomething(image));
        if (c.shown == ViewFrame::Shown::List) {
            // The window shows what the core paints for the same list and size.
            CQorGDX copy(m_frame->list());
            CBitmap painted;
            ASSERT_TRUE(QOR::paintToBitmap(&copy, painted, image.GetWidth(), image.GetHeight()));
            EXPECT_EQ(difference(image, toImage(painted)), "");
        }
    }
}

TEST_F(ViewFrameTest, BadFilesLeaveWhatIsShown) {
    ASSERT_TRUE(m_frame->open(resFile("demo/demo.sld")));
    const ScratchFile brokenList("qor_view_broken.json", "{\"items\": [1, 2");
    const ScratchFile brokenDrill("qor_view_drill.json", "{\"KIND\": \"DRILL\", \"DIA\": -1}");
    const ScratchFile notPicture("qor_view_not.png", "not a picture");
    const ScratchFile notSlide("qor_view_not.sld", "");
    for (const wxString& path :
         {dataFile("no/such/file.json"), brokenList.path(), brokenDrill.path(), notPicture.path(),
          notSlide.path(), resFile("config.txt"), dataFile("png")}) {
        EXPECT_FALSE(m_frame->open(path)) << path;
        EXPECT_EQ(m_frame->shown(), ViewFrame::Shown::Slide) << path;
    }
    EXPECT_FALSE(m_frame->showSlide(0)); // a single slide has no chooser
}

TEST_F(ViewFrameTest, ObjectOfAKindWithoutGeneratorAsksForOne) {
    std::string walls = readText(resFile("objects/wall_corner.json"));
    const std::size_t kind = walls.find("\"WALL\"");
    ASSERT_NE(kind, std::string::npos);
    walls.replace(kind, 6, "\"FENCE\"");
    const ScratchFile fence("qor_view_fence.json", walls.c_str());

    EXPECT_FALSE(m_frame->open(fence.path())); // the question cancelled
    EXPECT_EQ(m_frame->generatorQuestions, 1);
    EXPECT_EQ(m_frame->shown(), ViewFrame::Shown::Nothing);
    m_frame->generator = L"WALL";
    ASSERT_TRUE(m_frame->open(fence.path()));
    EXPECT_EQ(m_frame->generatorQuestions, 2);
    EXPECT_EQ(m_frame->shown(), ViewFrame::Shown::Object);
    EXPECT_GT(m_frame->list().lenGet(), 0);
    // A kind that names a generator is not asked about.
    ASSERT_TRUE(m_frame->open(resFile("objects/wall_corner.json")));
    EXPECT_EQ(m_frame->generatorQuestions, 2);
}

TEST_F(ViewFrameTest, DroppedFileOpens) {
    ASSERT_TRUE(m_frame->open(resFile("demo/demo.json")));
    auto* drop = dynamic_cast<wxFileDropTarget*>(m_frame->listView()->GetDropTarget());
    ASSERT_NE(drop, nullptr);
    wxArrayString files;
    files.Add(resFile("demo/demo.slb"));
    EXPECT_TRUE(drop->OnDropFiles(10, 10, files));
    EXPECT_EQ(m_frame->shown(), ViewFrame::Shown::Slide);
    EXPECT_EQ(m_frame->slideChooser()->GetCount(), 2u);
    EXPECT_FALSE(drop->OnDropFiles(10, 10, wxArrayString()));
}

TEST_F(ViewFrameTest, SaveAsWritesEachFormatThatReadsBack) {
    const wxString out = wxString(QOR_TEST_OUT_DIR) + "/saved";
    wxFileName::Mkdir(out, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    for (const char* input : {"demo/demo.json", "demo/demo.sld", "../tests/data/png/scene_rgb.png"}) {
        SCOPED_TRACE(input);
        ASSERT_TRUE(m_frame->open(resFile(input)));
        const wxImage image = shot();
        const wxString base = out + "/" + wxFileName(input).GetFullName(); // demo.json.png, demo.sld.png
        for (const char* ext : {".png", ".emf", ".svg"}) {
            const wxString path = base + ext;
            removeFile(path);
            m_frame->savePath = path;
            menu(*m_frame, wxID_SAVEAS);
            ASSERT_TRUE(wxFileName::FileExists(path)) << path;
        }
        CBitmap png;
        ASSERT_TRUE(QOR::bitmapReadPng(png, (base + ".png").ToStdWstring().c_str()));
        if (m_frame->shown() == ViewFrame::Shown::Picture) {
            EXPECT_TRUE(showsSomething(toImage(png))); // at the picture's own size
        } else {
            EXPECT_EQ(difference(toImage(png), image), ""); // as the window shows it
        }
        HENHMETAFILE emf = GetEnhMetaFileW((base + ".emf").ToStdWstring().c_str());
        ASSERT_FALSE(emf.isNull());
        CBitmap played;
        CRasterDC dc;
        ASSERT_TRUE(played.CreateBitmap(200, 200, 1, 32, nullptr) && dc.CreateCompatibleDC(nullptr));
        dc.SelectObject(&played);
        const CRect rect(0, 0, 200, 200);
        EXPECT_TRUE(PlayEnhMetaFile(&dc, emf, &rect));
        DeleteEnhMetaFile(emf);
        const std::string svg = readText(base + ".svg");
        EXPECT_NE(svg.find("<svg"), std::string::npos);
        EXPECT_NE(svg.find("</svg>"), std::string::npos);
    }
    // A format it cannot write is refused, and nothing is written.
    EXPECT_FALSE(m_frame->saveAs(out + "/picture.jpg"));
    EXPECT_FALSE(wxFileName::FileExists(out + "/picture.jpg"));
}

TEST_F(ViewFrameTest, ViewMenuTurnsListsAndRedrawsObjects) {
    for (const char* input : {"demo/demo.json", "objects/drill_tapped.json", "objects/hole_pattern.json"}) {
        SCOPED_TRACE(input);
        ASSERT_TRUE(m_frame->open(resFile(input)));
        menu(*m_frame, kIdViewTop);
        const wxImage top = shot();
        menu(*m_frame, kIdViewFront);
        const wxImage front = shot();
        menu(*m_frame, kIdViewIsometric);
        const wxImage iso = shot();
        keep(iso, (wxFileName(input).GetName() + "_iso.png").c_str());
        EXPECT_TRUE(showsSomething(top));
        EXPECT_TRUE(showsSomething(iso));
        EXPECT_NE(difference(top, iso), "");
        EXPECT_NE(difference(top, front), "");
        // Back to the top view: the same picture as before.
        menu(*m_frame, kIdViewTop);
        EXPECT_EQ(difference(shot(), top), "");
    }
    EXPECT_TRUE(menuEnabled(kIdViewSide));
    ASSERT_TRUE(m_frame->open(resFile("demo/demo.sld")));
    EXPECT_FALSE(m_frame->setView(ViewDirection::Front)); // a slide has one view
    EXPECT_FALSE(menuEnabled(kIdViewSide));
    EXPECT_TRUE(menuEnabled(wxID_SAVEAS));
}

TEST_F(ViewFrameTest, SlideChooserShowsTheChosenSlide) {
    ASSERT_TRUE(m_frame->open(resFile("demo/demo.slb")));
    wxListBox* chooser = m_frame->slideChooser();
    ASSERT_EQ(chooser->GetCount(), 2u);
    EXPECT_EQ(chooser->GetString(0), "FLANGE");
    EXPECT_EQ(chooser->GetSelection(), 0);
    const wxImage first = shot();
    chooser->SetSelection(1);
    wxCommandEvent event(wxEVT_LISTBOX, chooser->GetId());
    event.SetEventObject(chooser);
    event.SetInt(1);
    chooser->ProcessWindowEvent(event);
    const wxImage second = shot();
    EXPECT_TRUE(showsSomething(second));
    EXPECT_NE(difference(first, second), "");
    EXPECT_FALSE(m_frame->showSlide(2));
    EXPECT_FALSE(m_frame->showSlide(-1));
}
