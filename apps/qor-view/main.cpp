// qor-view: a window on a display list. `qor-view [FILE.json] [--screenshot PNG]` opens the list given;
// File > Open opens another, View > Fit (Home) fits it, Edit > Copy (Ctrl+C) puts it on the desktop's
// clipboard as a metafile (with PNG and SVG renderings), a left click shows the picked item in the status
// bar. With --screenshot the program writes what the window shows into PNG once it is on the screen and
// exits (status 0 written, 1 not).
#include <cstdio>
#include <filesystem>
#include <string>

#include <wx/app.h>
#include <wx/cmdline.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>

#include "qor/dlg/gallery.h"
#include "qor/gdx/gdx_json.h"
#include "qor/render/render.h"
#include "qor/render/ui/dplist_image.h"
#include "qor/render/ui/wx_clipboard.h"

namespace {

constexpr int kViewId = 100;
constexpr int kDialogsMenuId = wxID_HIGHEST + 1;

class ViewFrame : public wxFrame {
public:
    ViewFrame() : wxFrame(nullptr, wxID_ANY, "Qor View", wxDefaultPosition, wxSize(900, 650)) {
        auto* file = new wxMenu;
        file->Append(wxID_OPEN, "&Open...\tCtrl+O");
        file->AppendSeparator();
        file->Append(wxID_EXIT, "&Quit\tCtrl+Q");
        auto* edit = new wxMenu;
        edit->Append(wxID_COPY, "&Copy\tCtrl+C");
        auto* view = new wxMenu;
        view->Append(wxID_ZOOM_FIT, "&Fit\tHome");
        auto* bar = new wxMenuBar;
        bar->Append(file, "&File");
        bar->Append(edit, "&Edit");
        bar->Append(view, "&View");
        auto* help = new wxMenu;
        help->Append(kDialogsMenuId, "&Dialogs...");
        bar->Append(help, "&Help");
        SetMenuBar(bar);
        CreateStatusBar();

        m_view = new CQorDplistImage(this, kViewId);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(m_view, 1, wxEXPAND);
        SetSizer(sizer);

        Bind(
            wxEVT_MENU, [this](wxCommandEvent&) { chooseFile(); }, wxID_OPEN);
        Bind(
            wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, wxID_EXIT);
        Bind(
            wxEVT_MENU, [this](wxCommandEvent&) { copy(); }, wxID_COPY);
        Bind(
            wxEVT_MENU, [this](wxCommandEvent&) { fit(); }, wxID_ZOOM_FIT);
        Bind(
            wxEVT_MENU, [this](wxCommandEvent&) { QOR::dlgGallery(this); }, kDialogsMenuId);
        Bind(QOR_EVT_ITEM_PICKED, [this](wxCommandEvent& e) { picked(e.GetInt()); });
    }

    /// Replaces the list shown by the one in path; a message box says why when it cannot be read.
    bool open(const wxString& path, bool quiet = false) {
        CQorGDX read;
        std::string error;
        if (!QOR::gdxReadJsonFile(read, std::filesystem::path(path.ToStdWstring()), &error)) {
            const wxString why = wxString::Format("%s: %s", path, wxString::FromUTF8(error));
            if (quiet)
                std::fprintf(stderr, "qor-view: %s\n", why.utf8_str().data());
            else
                wxMessageBox(why, "Qor View", wxOK | wxICON_ERROR, this);
            return false;
        }
        m_view->set_dpList(nullptr);
        m_gdx = std::move(read);
        m_view->set_dpList(&m_gdx);
        m_hasList = true;
        fit();
        SetTitle(wxString::Format("%s - Qor View", wxFileName(path).GetFullName()));
        SetStatusText(wxString::Format("%d items", m_gdx.lenGet()));
        return true;
    }

    /// What the view shows, as the screen has it.
    wxImage screenshot() {
        const wxSize size = m_view->GetClientSize();
        wxBitmap bitmap(size.x, size.y, 24);
        wxMemoryDC memory(bitmap);
        wxClientDC client(m_view);
        memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
        memory.SelectObject(wxNullBitmap);
        return bitmap.ConvertToImage();
    }

    CQorDplistImage* view() const { return m_view; }

private:
    void chooseFile() {
        wxFileDialog dialog(this, "Open a display list", "", "", "Display lists (*.json)|*.json|All files|*",
                            wxFD_OPEN | wxFD_FILE_MUST_EXIST);
        if (dialog.ShowModal() == wxID_OK) open(dialog.GetPath());
    }
    void fit() {
        m_view->zoomExtents();
        m_view->Refresh();
    }
    void copy() {
        if (!m_hasList) return;
        const wxSize size = m_view->GetClientSize();
        refresh(&m_gdx, nullptr, size.y, size.x);
    }
    /// The status bar names the item picked by its path, which is its top-level id, and its kind.
    void picked(int id) {
        const CQorArrayTempl<int> items = m_gdx.StackToItemNr(CQorArrayTempl<int>{id});
        SetStatusText(wxString::Format("Picked: (%d), %d item(s), %s", id, items.len(),
                                       items.len() ? kindName(m_gdx.typeGet(items[0])) : "nothing"));
    }
    static const char* kindName(int type) {
        switch (type) {
        case QorDisplayVl:
            return "polyline";
        case QorDisplayPt:
            return "point";
        case QorDisplayReg:
            return "region";
        case QorDisplayTxt:
            return "text";
        case QorDisplayPicture:
            return "picture";
        default:
            return "item";
        }
    }

    CQorGDX m_gdx;
    bool m_hasList = false;
    CQorDplistImage* m_view; // owned by the frame
};

class ViewApp : public wxApp {
public:
    bool OnInit() override {
        wxInitAllImageHandlers();
        QOR::installWxClipboard(); // Edit > Copy reaches other programs
        wxCmdLineParser parser(argc, argv);
        parser.AddOption("", "screenshot", "write what the window shows into this PNG file and exit");
        parser.AddParam("FILE.json", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
        if (parser.Parse() != 0) return false;
        m_frame = new ViewFrame;
        m_frame->Show();
        const bool screenshot = parser.Found("screenshot", &m_screenshot);
        if (parser.GetParamCount() > 0 && !m_frame->open(parser.GetParam(0), screenshot) && screenshot) {
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
        if (!m_frame->view()->IsShownOnScreen()) {
            CallAfter([this] { shoot(); });
            return;
        }
        m_frame->view()->Update();
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
