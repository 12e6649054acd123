#include "view_frame.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>
#include <vector>

#include <wx/choicdlg.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dnd.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>

#include "qor/dlg/gallery.h"
#include "qor/gdx/gdx_json.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/render/render.h"
#include "qor/render/ui/dplist_image.h"
#include "qor/slide/slide_library.h"
#include "qor/slide/ui/slide_pic.h"
#include "shared/generators.h"
#include "view_picture.h"

namespace {

constexpr int kListViewId = 100;
constexpr int kSlideViewId = 101;
constexpr int kChooserId = 102;
constexpr int kPictureViewId = 103;

/// Files dropped on a window of the frame: the first one is opened.
class FileDrop : public wxFileDropTarget {
public:
    explicit FileDrop(ViewFrame& frame) : m_frame(frame) {}
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override {
        return !files.empty() && m_frame.open(files[0]);
    }

private:
    ViewFrame& m_frame;
};

const char* kindName(int type) {
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

} // namespace

ViewFrame::ViewFrame(std::unique_ptr<wxConfigBase> settings)
    : wxFrame(nullptr, wxID_ANY, "Qor View"), m_store(std::move(settings)) {
    registerGenerators(); // kernel objects are drawn by name, as a host registers its generators
    if (m_store) m_settings = readSettings(*m_store);
    SetSize(m_settings.size);
    buildMenus();
    CreateStatusBar();

    m_listView = new CQorDplistImage(this, kListViewId);
    m_chooser = new wxListBox(this, kChooserId);
    m_chooser->SetMinSize(wxSize(160, -1));
    m_slideView = new QOR::CSlidePic(this, kSlideViewId);
    m_pictureView = new ViewPicture(this, kPictureViewId);
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    sizer->Add(m_chooser, 0, wxEXPAND);
    for (wxWindow* view : {static_cast<wxWindow*>(m_listView), static_cast<wxWindow*>(m_slideView),
                           static_cast<wxWindow*>(m_pictureView)})
        sizer->Add(view, 1, wxEXPAND);
    SetSizer(sizer);
    for (wxWindow* target : {static_cast<wxWindow*>(this), static_cast<wxWindow*>(m_listView),
                             static_cast<wxWindow*>(m_slideView), static_cast<wxWindow*>(m_chooser),
                             static_cast<wxWindow*>(m_pictureView)})
        target->SetDropTarget(new FileDrop(*this)); // owned by the window
    showWindow(Shown::Nothing);
    bindEvents();
}

ViewFrame::~ViewFrame() = default;

void ViewFrame::buildMenus() {
    auto* file = new wxMenu;
    file->Append(wxID_OPEN, "&Open...\tCtrl+O");
    file->Append(wxID_SAVEAS, "Save &as...\tCtrl+Shift+S");
    file->AppendSeparator();
    file->Append(wxID_EXIT, "&Quit\tCtrl+Q");
    auto* edit = new wxMenu;
    edit->Append(wxID_COPY, "&Copy\tCtrl+C");
    auto* view = new wxMenu;
    view->Append(wxID_ZOOM_FIT, "&Fit\tHome");
    view->AppendSeparator();
    view->Append(kIdViewTop, "&Top\tCtrl+1");
    view->Append(kIdViewFront, "F&ront\tCtrl+2");
    view->Append(kIdViewSide, "&Side\tCtrl+3");
    view->Append(kIdViewIsometric, "&Isometric\tCtrl+4");
    auto* bar = new wxMenuBar;
    bar->Append(file, "&File");
    bar->Append(edit, "&Edit");
    bar->Append(view, "&View");
    auto* help = new wxMenu;
    help->Append(kIdDialogs, "&Dialogs...");
    bar->Append(help, "&Help");
    SetMenuBar(bar);
}

void ViewFrame::bindEvents() {
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { chooseFile(); }, wxID_OPEN);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { chooseSaveFile(); }, wxID_SAVEAS);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, wxID_EXIT);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { copy(); }, wxID_COPY);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { fit(); }, wxID_ZOOM_FIT);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { QOR::dlgGallery(this); }, kIdDialogs);
    const std::pair<int, ViewDirection> views[] = {{kIdViewTop, ViewDirection::Top},
                                                   {kIdViewFront, ViewDirection::Front},
                                                   {kIdViewSide, ViewDirection::Side},
                                                   {kIdViewIsometric, ViewDirection::Isometric}};
    for (const auto& entry : views) {
        const ViewDirection view = entry.second;
        Bind(
            wxEVT_MENU, [this, view](wxCommandEvent&) { setView(view); }, entry.first);
    }
    // Commands that need something shown; view directions only a drawing has.
    for (int id : {wxID_SAVEAS, wxID_COPY, wxID_ZOOM_FIT})
        Bind(
            wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(m_shown != Shown::Nothing); }, id);
    Bind(
        wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(showsDrawing()); }, kIdViewTop,
        kIdViewIsometric);
    Bind(QOR_EVT_ITEM_PICKED, [this](wxCommandEvent& e) { picked(e.GetInt()); });
    Bind(
        wxEVT_LISTBOX, [this](wxCommandEvent& e) { showSlide(e.GetSelection()); }, kChooserId);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& e) {
        closing();
        e.Skip();
    });
}

bool ViewFrame::open(const wxString& path) {
    wxString why;
    if (!load(path, why)) {
        report(wxString::Format("%s: %s", path, why));
        return false;
    }
    m_settings.lastFolder = wxFileName(path).GetPath();
    m_shownName = wxFileName(path).GetFullName();
    SetTitle(wxString::Format("%s - Qor View", m_shownName));
    return true;
}

bool ViewFrame::load(const wxString& path, wxString& why) {
    if (!wxFileName::FileExists(path)) {
        why = "no such file";
        return false;
    }
    switch (fileKindOf(path)) {
    case FileKind::DisplayList:
        return ObjectDocument::isObjectFile(path) ? loadObject(path, why) : loadList(path, why);
    case FileKind::Slide:
        return loadSlide(path, why);
    case FileKind::SlideLibrary:
        return loadSlideLibrary(path, why);
    case FileKind::Picture:
        return loadPicture(path, why);
    case FileKind::Unknown:
        break;
    }
    why = "not a kind of file qor-view opens (display lists and kernel objects .json, slides .sld, slide "
          "libraries .slb, pictures .png .jpg .bmp .ico .gif .tif)";
    return false;
}

bool ViewFrame::loadList(const wxString& path, wxString& why) {
    CQorGDX read;
    std::string error;
    if (!QOR::gdxReadJsonFile(read, std::filesystem::path(path.ToStdWstring()), &error)) {
        why = wxString::FromUTF8(error);
        return false;
    }
    m_object.reset();
    showList(std::move(read), Shown::List);
    SetStatusText(wxString::Format("Display list, %d items", m_gdx.lenGet()));
    return true;
}

bool ViewFrame::loadObject(const wxString& path, wxString& why) {
    ObjectDocument object;
    if (!object.open(path, why)) return false;
    std::wstring generator = m_generator.empty() ? object.generatorOfKind() : m_generator;
    if (generator.empty() && m_mayAsk) generator = askGenerator(wxFileName(path).GetFullName());
    if (generator.empty()) {
        why = m_mayAsk ? "no generator chosen"
                       : "the object's KIND names no generator: give one with --generator";
        return false;
    }
    CQorGDX drawn;
    if (!object.draw(generator, std::nullopt, drawn, why)) return false;
    m_object = std::move(object);
    m_objectGenerator = generator;
    showList(std::move(drawn), Shown::Object);
    SetStatusText(wxString::Format("Kernel object drawn by %s, %d items", generator, m_gdx.lenGet()));
    return true;
}

bool ViewFrame::loadSlide(const wxString& path, wxString& why) {
    QOR::CSlide probe; // the window keeps what it shows until the new slide proved readable
    if (!probe.show(path.ToStdWstring().c_str()) || probe.level() == 0) {
        why = "cannot read the slide";
        return false;
    }
    long width = 0, height = 0;
    probe.getSize(width, height);
    m_slideView->show(probe.data().data(), int(probe.data().size()));
    m_library.clear();
    showWindow(Shown::Slide);
    SetStatusText(wxString::Format("Slide, %ld x %ld dots", width, height));
    return true;
}

bool ViewFrame::loadSlideLibrary(const wxString& path, wxString& why) {
    std::vector<std::wstring> names;
    if (!QOR::slideLibraryNames(path.ToStdWstring().c_str(), names)) {
        why = "cannot read the slide library";
        return false;
    }
    if (names.empty()) {
        why = "the slide library holds no slides";
        return false;
    }
    m_library = path;
    m_chooser->Clear();
    for (const std::wstring& name : names)
        m_chooser->Append(name);
    showWindow(Shown::Slide);
    showSlide(0);
    return true;
}

bool ViewFrame::loadPicture(const wxString& path, wxString& why) {
    if (!m_pictureView->load(path, why)) {
        if (m_shown == Shown::Picture) showWindow(Shown::Nothing); // the window lost its picture
        return false;
    }
    showWindow(Shown::Picture);
    m_pictureView->Reset(); // fitted to the window it now has
    SetStatusText(wxString::Format("Picture, %d x %d pixels", m_pictureView->pixelWidth(),
                                   m_pictureView->pixelHeight()));
    return true;
}

bool ViewFrame::showSlide(int index) {
    if (m_library.empty() || index < 0 || index >= int(m_chooser->GetCount())) return false;
    const wxString name = m_chooser->GetString(unsigned(index));
    m_chooser->SetSelection(index);
    if (!m_slideView->show(name.ToStdWstring().c_str(), m_library.ToStdWstring().c_str())) {
        report(wxString::Format("%s: cannot read slide %s", m_library, name));
        return false;
    }
    long width = 0, height = 0;
    m_slideView->getSize(width, height);
    SetStatusText(wxString::Format("Slide %s, %ld x %ld dots", name, width, height));
    return true;
}

void ViewFrame::showList(CQorGDX&& gdx, Shown shown) {
    m_listView->set_dpList(nullptr);
    m_gdx = std::move(gdx);
    showWindow(shown);
    m_listView->set_dpList(&m_gdx);
    fit();
}

void ViewFrame::showWindow(Shown shown) {
    m_shown = shown;
    if (shown != Shown::Slide) m_library.clear(); // the chooser belongs to the library shown
    wxSizer* sizer = GetSizer();
    sizer->Show(m_listView, showsDrawing() || shown == Shown::Nothing);
    sizer->Show(m_slideView, shown == Shown::Slide);
    sizer->Show(m_chooser, shown == Shown::Slide && !m_library.empty());
    sizer->Show(m_pictureView, shown == Shown::Picture);
    Layout();
}

wxWindow* ViewFrame::shownWindow() const {
    switch (m_shown) {
    case Shown::List:
    case Shown::Object:
        return m_listView;
    case Shown::Slide:
        return m_slideView;
    case Shown::Picture:
        return m_pictureView;
    case Shown::Nothing:
        break;
    }
    return nullptr;
}

wxImage ViewFrame::screenshot() const {
    wxWindow* window = shownWindow();
    if (!window) window = m_listView;
    const wxSize size = window->GetClientSize();
    wxBitmap bitmap(size.x, size.y, 24);
    wxMemoryDC memory(bitmap);
    wxClientDC client(window);
    memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
    memory.SelectObject(wxNullBitmap);
    return bitmap.ConvertToImage();
}

void ViewFrame::fit() {
    switch (m_shown) {
    case Shown::List:
    case Shown::Object:
        m_listView->zoomExtents();
        m_listView->Refresh();
        break;
    case Shown::Picture:
        m_pictureView->Reset();
        break;
    case Shown::Slide: // a slide always fills its window
    case Shown::Nothing:
        break;
    }
}

bool ViewFrame::showsDrawing() const noexcept {
    return m_shown == Shown::List || m_shown == Shown::Object;
}

bool ViewFrame::setView(ViewDirection view) {
    if (m_shown == Shown::List) {
        m_gdx.viewDirectionSet(listViewName(view));
        m_gdx.projMtxSet(CQorMatrix3d(m_gdx.projMtxGet())); // recomputes the extents in the new direction
        fit();
        return true;
    }
    if (m_shown != Shown::Object || !m_object) return false;
    CQorGDX drawn;
    wxString why;
    if (!m_object->draw(m_objectGenerator, view, drawn, why)) {
        report(wxString::Format("%s: %s", m_shownName, why));
        return false;
    }
    showList(std::move(drawn), Shown::Object);
    return true;
}

bool ViewFrame::copy() {
    switch (m_shown) {
    case Shown::List:
    case Shown::Object: {
        CQorGDX recorded(m_gdx); // refresh fits the view of the list it records; the window keeps its own
        const wxSize size = m_listView->GetClientSize();
        refresh(&recorded, nullptr, size.y, size.x);
        return true;
    }
    case Shown::Slide:
        return m_slideView->Copy();
    case Shown::Picture:
        return m_pictureView->Copy();
    case Shown::Nothing:
        break;
    }
    return false;
}

bool ViewFrame::saveAs(const wxString& path) {
    const std::optional<SaveFormat> format = saveFormatOf(path);
    if (!format) {
        report(wxString::Format("%s: unknown format (known: .png, .emf, .svg)", path));
        return false;
    }
    if (m_shown == Shown::Nothing) {
        report("Nothing to save: open a file first");
        return false;
    }
    if (!writeShown(*format, path)) {
        report(wxString::Format("%s: cannot write the file", path));
        return false;
    }
    SetStatusText(wxString::Format("Saved %s", path));
    return true;
}

bool ViewFrame::writeShown(SaveFormat format, const wxString& path) {
    if (format != SaveFormat::Png) return writeMetafile(shownMetafile(), format, path);
    CBitmap bitmap;
    return shownBitmap(bitmap) && writePng(bitmap, path);
}

bool ViewFrame::shownBitmap(CBitmap& bitmap) {
    const wxSize client = shownWindow() ? shownWindow()->GetClientSize() : wxSize();
    switch (m_shown) {
    case Shown::List:
    case Shown::Object:
        return QOR::paintToBitmap(&m_gdx, bitmap, client.x, client.y);
    case Shown::Slide: {
        CRasterDC dc;
        if (!bitmap.CreateBitmap(client.x, client.y, 1, 32, nullptr) || !dc.CreateCompatibleDC(nullptr))
            return false;
        dc.SelectObject(&bitmap);
        m_slideView->paint(&dc, CRect(0, 0, client.x, client.y)); // as the window paints itself
        return true;
    }
    case Shown::Picture:
        return playToBitmap(m_pictureView->metafile(), m_pictureView->pixelWidth(),
                            m_pictureView->pixelHeight(), bitmap);
    case Shown::Nothing:
        break;
    }
    return false;
}

HENHMETAFILE ViewFrame::shownMetafile() {
    switch (m_shown) {
    case Shown::List:
    case Shown::Object: {
        const wxSize client = m_listView->GetClientSize();
        CQorGDX recorded(m_gdx); // paintToMetafile fits the view of the list it records
        return QOR::paintToMetafile(&recorded, nullptr, client.x, client.y);
    }
    case Shown::Slide: {
        long width = 0, height = 0;
        m_slideView->getSize(width, height);
        return m_slideView->CreateEnhMetaFileW(CRect(0, 0, int(width), int(height)));
    }
    case Shown::Picture:
        return m_pictureView->metafile();
    case Shown::Nothing:
        break;
    }
    return {};
}

void ViewFrame::report(const wxString& text) {
    if (m_quiet)
        std::fprintf(stderr, "qor-view: %s\n", text.utf8_str().data());
    else
        wxMessageBox(text, "Qor View", wxOK | wxICON_ERROR, this);
}

/// The status bar names the item picked by its path, which is its top-level id, and its kind.
void ViewFrame::picked(int id) {
    const CQorArrayTempl<int> items = m_gdx.StackToItemNr(CQorArrayTempl<int>{id});
    SetStatusText(wxString::Format("Picked: (%d), %d item(s), %s", id, items.len(),
                                   items.len() ? kindName(m_gdx.typeGet(items[0])) : "nothing"));
}

void ViewFrame::chooseFile() {
    wxFileDialog dialog(this, "Open a drawing or picture", m_settings.lastFolder, "", openFilter(),
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() == wxID_OK) open(dialog.GetPath());
}

void ViewFrame::chooseSaveFile() {
    if (m_shown == Shown::Nothing) return report("Nothing to save: open a file first");
    const wxString path = askSavePath(wxFileName(m_shownName).GetName() + ".png");
    if (!path.empty()) saveAs(path);
}

wxString ViewFrame::askSavePath(const wxString& suggested) {
    wxFileDialog dialog(this, "Save as", m_settings.lastFolder, suggested, saveFilter(),
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK) return {};
    // The extension typed wins; without one the filter chosen gives it.
    wxFileName name(dialog.GetPath());
    if (!saveFormatOf(name.GetFullPath()))
        name.SetExt(extensionOf(static_cast<SaveFormat>(std::clamp(dialog.GetFilterIndex(), 0, 2))));
    return name.GetFullPath();
}

std::wstring ViewFrame::askGenerator(const wxString& file) {
    wxArrayString names;
    for (const NamedGenerator& g : knownGenerators())
        names.Add(g.name);
    wxSingleChoiceDialog dialog(this, wxString::Format("Which generator draws %s?", file), "Kernel object",
                                names);
    if (dialog.ShowModal() != wxID_OK) return {};
    return dialog.GetStringSelection().ToStdWstring();
}

void ViewFrame::closing() {
    if (!m_store) return;
    if (!IsMaximized() && !IsIconized()) m_settings.size = GetSize();
    writeSettings(*m_store, m_settings);
}
