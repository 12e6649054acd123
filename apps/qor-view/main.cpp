// qor-view: a window on display lists, kernel objects, AutoCAD slides and pictures.
// `qor-view [FILE] [--generator NAME] [--size WxH] [--screenshot PNG]` opens the file given; File > Open and
// dropping a file on the window open others. With --screenshot the program writes what the window shows into
// PNG once it is on the screen and exits: status 0 written, 1 when the file cannot be opened or the PNG not
// written.
#include <cstdio>
#include <optional>

#include <wx/app.h>
#include <wx/cmdline.h>
#include <wx/image.h>

#include "qor/render/ui/wx_clipboard.h"
#include "view_frame.h"

namespace {

/// "WxH" with each side within the sizes the settings keep; none for anything else.
std::optional<wxSize> parseSize(const wxString& text) {
    long width = 0, height = 0;
    if (!text.BeforeFirst('x').ToLong(&width) || !text.AfterFirst('x').ToLong(&height)) return std::nullopt;
    const wxSize size{int(width), int(height)};
    if (width != clampSize(size).x || height != clampSize(size).y) return std::nullopt;
    return size;
}

class ViewApp : public wxApp {
public:
    bool OnInit() override {
        wxInitAllImageHandlers();
        QOR::installWxClipboard(); // Edit > Copy reaches other programs
        wxCmdLineParser parser(argc, argv);
        parser.AddOption("", "screenshot", "write what the window shows into this PNG file and exit");
        parser.AddOption("", "generator",
                         "the image generator for kernel objects: BGR, DRILL, HOLE, WALL, WALL_EDIT, EXTR, "
                         "FSHEET or BAR_SURFACE (default: the object's KIND)");
        parser.AddOption("", "size", "the window's size WxH in pixels for this run (remembered)");
        parser.AddParam("FILE", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
        if (parser.Parse() != 0) return false;
        wxString sizeText;
        std::optional<wxSize> size;
        if (parser.Found("size", &sizeText) && !(size = parseSize(sizeText))) {
            std::fprintf(stderr,
                         "qor-view: --size needs WxH from 200x150 to 16384x16384, for example 900x650\n");
            return false;
        }
        m_frame = new ViewFrame(openSettings());
        if (size) m_frame->SetSize(*size);
        const bool screenshot = parser.Found("screenshot", &m_screenshot);
        m_frame->setQuiet(screenshot);
        m_frame->setMayAsk(!screenshot); // nobody is there to answer
        wxString generator;
        if (parser.Found("generator", &generator)) m_frame->setGenerator(generator.ToStdWstring());
        m_frame->Show();
        if (parser.GetParamCount() > 0 && !m_frame->open(parser.GetParam(0)) && screenshot) {
            m_status = 1;
            m_frame->Destroy();
            return true;
        }
        if (screenshot) CallAfter([this] { shoot(); });
        return true;
    }
    int OnRun() override {
        const int status = wxApp::OnRun();
        return m_status ? m_status : status;
    }

private:
    /// Once the window is on the screen and painted: the screenshot, then the end.
    void shoot() {
        wxWindow* shown = m_frame->shownWindow() ? m_frame->shownWindow() : m_frame;
        if (!shown->IsShownOnScreen()) {
            CallAfter([this] { shoot(); });
            return;
        }
        shown->Update();
        wxYield();
        if (!m_frame->screenshot().SaveFile(m_screenshot, wxBITMAP_TYPE_PNG)) m_status = 1;
        m_frame->Close();
    }

    ViewFrame* m_frame = nullptr;
    wxString m_screenshot;
    int m_status = 0;
};

} // namespace

wxIMPLEMENT_APP(ViewApp);
