#pragma once

// The main window of qor-view. It shows one file at a time in the window that suits its kind: display
// lists and kernel objects in a CQorDplistImage, slides in a QOR::CSlidePic (a slide library with a list
// of its slides beside it), pictures in a QOR::CPicture. The menu commands are methods a test can call;
// the menu, the drop target and the windows' events only forward to them.

#include <memory>
#include <optional>
#include <string>

#include <wx/config.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/listbox.h>

#include "file_kind.h"
#include "object_document.h"
#include "qor/gdx/gdx.h"
#include "save_as.h"
#include "settings.h"
#include "view_direction.h"

class CQorDplistImage;
class ViewPicture;
namespace QOR {
class CSlidePic;
}

/// Menu ids of the commands that have no stock id.
constexpr int kIdViewTop = wxID_HIGHEST + 1;
constexpr int kIdViewFront = wxID_HIGHEST + 2;
constexpr int kIdViewSide = wxID_HIGHEST + 3;
constexpr int kIdViewIsometric = wxID_HIGHEST + 4;
constexpr int kIdDialogs = wxID_HIGHEST + 5;

class ViewFrame : public wxFrame {
public:
    /// What the frame shows.
    enum class Shown { Nothing, List, Object, Slide, Picture };

    /// The frame at the remembered size; settings is the store it reads now and writes when it closes.
    explicit ViewFrame(std::unique_ptr<wxConfigBase> settings);
    ~ViewFrame() override;

    /// Opens path by its kind (file_kind.h) and shows it. When it cannot, what is shown stays and the
    /// reason is reported: in a message box, or on stderr when quiet.
    bool open(const wxString& path);
    /// Reports failures on stderr instead of in message boxes (for --screenshot runs).
    void setQuiet(bool quiet) { m_quiet = quiet; }
    /// Whether a generator may be asked for when an object's kind names none (not when no user is there).
    void setMayAsk(bool mayAsk) { m_mayAsk = mayAsk; }
    /// The generator for the next kernel objects opened, instead of the one their kind names (empty: by
    /// the kind, else asked).
    void setGenerator(const std::wstring& name) { m_generator = name; }

    /// Writes what is shown to path in the format its extension names (save_as.h): a display list or
    /// kernel object as the view shows it (PNG at the view's size) or as refresh records it (EMF, SVG);
    /// a slide at the view's size (PNG) or its own size (EMF, SVG); a picture at its own size. False,
    /// reported, when nothing is shown, the format is unknown or the file cannot be written.
    bool saveAs(const wxString& path);
    /// Looks at a display list or kernel object from view: a list turns by its view direction, an object
    /// is drawn again by its generator. Then fits. False when neither is shown or drawing failed.
    bool setView(ViewDirection view);
    /// Fits the drawing or picture to the window.
    void fit();
    /// Puts what is shown on the clipboard as a metafile; false when nothing is shown.
    bool copy();
    /// Shows slide index of the slide library (its chooser selects it); false for an index out of range.
    bool showSlide(int index);

    Shown shown() const noexcept { return m_shown; }
    /// True when a display list or kernel object is shown: what the view directions apply to.
    bool showsDrawing() const noexcept;
    /// The window showing the current file (null when nothing is shown).
    wxWindow* shownWindow() const;
    /// What the shown window shows, as the screen has it.
    wxImage screenshot() const;
    CQorDplistImage* listView() const noexcept { return m_listView; }
    QOR::CSlidePic* slideView() const noexcept { return m_slideView; }
    wxListBox* slideChooser() const noexcept { return m_chooser; }
    const CQorGDX& list() const noexcept { return m_gdx; }
    const ViewSettings& settings() const noexcept { return m_settings; }

protected:
    /// Asks which generator draws an object whose kind names none; empty when the user cancels.
    virtual std::wstring askGenerator(const wxString& file);
    /// Asks where File > Save as writes (suggested: the file name offered); empty when the user cancels.
    virtual wxString askSavePath(const wxString& suggested);

private:
    void buildMenus();
    void bindEvents();
    bool load(const wxString& path, wxString& why);
    bool loadList(const wxString& path, wxString& why);
    bool loadObject(const wxString& path, wxString& why);
    bool loadSlide(const wxString& path, wxString& why);
    bool loadSlideLibrary(const wxString& path, wxString& why);
    bool loadPicture(const wxString& path, wxString& why);
    /// Attaches gdx as the shown list (the view fitted) and shows the list view.
    void showList(CQorGDX&& gdx, Shown shown);
    void showWindow(Shown shown);
    bool writeShown(SaveFormat format, const wxString& path);
    /// What is shown as a picture: a drawing or slide as its window shows it, a picture at its
    /// own size. False, bitmap not created, when nothing is shown or there is no memory.
    bool shownBitmap(CBitmap& bitmap);
    /// What is shown as a metafile (owned by the caller): a drawing as refresh records it at the view's
    /// size, a slide at its own size with colour 7 black, a picture at its own size. Null for nothing.
    HENHMETAFILE shownMetafile();
    void report(const wxString& text);
    void picked(int id);
    void chooseFile();
    void chooseSaveFile();
    void closing();

    std::unique_ptr<wxConfigBase> m_store;
    ViewSettings m_settings;
    Shown m_shown = Shown::Nothing;
    bool m_quiet = false;
    bool m_mayAsk = true;
    std::wstring m_generator;               ///< from the command line; empty: by kind or asked
    CQorGDX m_gdx;                          ///< the list shown by m_listView
    std::optional<ObjectDocument> m_object; ///< the kernel object m_gdx was drawn from
    std::wstring m_objectGenerator;         ///< the generator that drew it
    wxString m_library;                     ///< the slide library of m_chooser
    wxString m_shownName;                   ///< the file's name, for the title and messages
    CQorDplistImage* m_listView;            // owned by the frame
    QOR::CSlidePic* m_slideView;            // owned by the frame
    wxListBox* m_chooser;                   // owned by the frame
    ViewPicture* m_pictureView;             // owned by the frame
};
