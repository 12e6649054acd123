#pragma once

// CQorDlg, the base of every dialog of the library: a wxDialog built from its template
// (res/dialogs/<id>.json) whose texts are looked up by message key in the dialog's language, with tool
// tips and help popups found the same way, a help button and help file, its position (and, when
// resizable, its size) remembered per dialog, Enter / Page Up navigation between edit fields, a size grip,
// and its place on the dialog stack.
//
// Life of a dialog: construct (a stack object), Create() builds the window from the template and runs
// OnCreate and OnInitDialog; DoModal() creates it when needed and runs it (a dialog run again is
// initialised again). Closing - EndModal, DestroyWindow, Destroy or the destructor, whichever comes
// first - runs OnDestroy once: the position is saved and the dialog leaves the stack. A stack object is
// closed with DestroyWindow (or EndModal); Destroy also deletes the object later, so it is only for
// dialogs made with new.
//
// Every handler has the shape of its Win32 message and can be called directly; bindEvents() only
// converts wx events and forwards. Buttons 1 (OK) and 2 (Cancel) end the dialog; button 9 is the help
// button "&?".

#include <map>

#include <wx/dialog.h>

#include "qor/dlg/dlg_env.h"
#include "qor/dlg/dlg_layout.h"
#include "qor/dlg/dlg_navigation.h"
#include "qor/dlg/msg_callback.h"
#include "qor/kernel/base/string.h"
#include "qor/platform/win_types.h"
#include "qor/render/ui/export.h"

namespace QOR {

/// What F1 or the caption's "?" asks about: the control id (0 for none) and the mouse position in
/// screen pixels.
struct HELPINFO {
    int iCtrlId = 0;
    POINT MousePos{0, 0};
};

// Message-box types and results of MessageBoxW (the Win32 values).
constexpr int MB_OK = 0x0;
constexpr int MB_OKCANCEL = 0x1;
constexpr int MB_YESNO = 0x4;
constexpr int MB_ICONERROR = 0x10;
constexpr int MB_ICONQUESTION = 0x20;
constexpr int MB_ICONEXCLAMATION = 0x30;
constexpr int MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

/// The help button of every template.
constexpr int kIdHelpButton = 9;

} // namespace QOR

class QOR_UI_EXPORT CQorDlg : public wxDialog {
public:
    /// templateId names res/dialogs/<templateId>.json; parent may be null. Nothing is created yet.
    CQorDlg(int templateId, wxWindow* parent);
    ~CQorDlg() override;
    CQorDlg(const CQorDlg&) = delete;
    CQorDlg& operator=(const CQorDlg&) = delete;

    /// The process-wide message callback; null until the module installs the default one.
    static QOR::MsgCallback m_pMsgFcn;
    /// Installs callback (null: none) and returns the one installed before.
    static QOR::MsgCallback SetMsgCallBack(QOR::MsgCallback callback) noexcept;

    /// Builds the window from the template (hidden): OnCreate, the controls, OnInitDialog. False when the
    /// template is missing or malformed (reported once) or the window exists already.
    bool Create();
    /// Creates the window when needed and runs it modally: IDOK (1), IDCANCEL (2) or what EndModal was
    /// given; -1 when it could not be created.
    int DoModal();
    /// Ends the dialog with result, running OnDestroy first.
    void EndModal(int result) override;
    /// Closes the dialog (OnDestroy) and hides it; the object and its window live on until destroyed.
    BOOL DestroyWindow();
    /// Closes the dialog and deletes it at the next idle time (dialogs made with new only).
    bool Destroy() override;

    // Texts.
    virtual bool updLang();
    virtual void addLangRsc() {}
    virtual void addHlpRsc() {}
    virtual void addToolTipRsc() {}
    /// defaultText when no callback is installed; else the callback's text for key in country (null:
    /// the dialog's country).
    virtual const wchar_t* GetMsg(const wchar_t* key, const wchar_t* defaultText, const wchar_t* country);
    /// A message box with text and type (MB_*), titled with the product's message-box title; caption is
    /// not shown. Returns IDOK, IDCANCEL, IDYES or IDNO.
    virtual int MessageBoxW(const wchar_t* text, const wchar_t* caption, int type);
    /// The tool-tip text of tool (a control of this dialog) into text; FALSE when it has none.
    virtual BOOL ToolTip(const wxWindow* tool, CQorString& text);

    /// Sets the language of the texts; a live dialog changes its texts at once.
    void SetCountry(const wchar_t* country);
    const wchar_t* country() const noexcept { return m_strCountry; }

    void SavePosition(bool save) noexcept { m_bSavePos = save; }
    /// The remembered rectangle (screen pixels) of this dialog; false when none is stored or positions are
    /// not saved.
    bool getSavedPos(RECT* rect) const;
    bool isSubDlg() const noexcept { return m_bSubDlg; }
    const wchar_t* dlgName() const noexcept { return m_strDlgName; }

    // Help (dlg/help.cpp).
    /// With a path: help folder and file from it; the help button is shown, enabled when the name is not
    /// empty. Null: the help button is hidden and both are cleared. A URL ("http:", "https:", "file:")
    /// is kept whole as the file.
    void SetHelpFile(const wchar_t* path);
    void GetHelpFile(CQorString& out) const;
    void SetHelpTopic(const wchar_t* topic);
    void GetHelpTopic(CQorString& out) const;
    /// Opens help on topic (null: the dialog's topic).
    void Help(const wchar_t* topic);
    /// F1 or the caption's "?": the popup text of the control asked about. Always TRUE.
    BOOL OnHelpInfo(const QOR::HELPINFO* info);

    // Handlers.
    /// WM_CREATE: windowName is the template's caption. Returns 0.
    int OnCreate(const wchar_t* windowName);
    virtual BOOL OnInitDialog();
    void OnDestroy();
    void OnShowWindow(BOOL show);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    /// A key going down; TRUE when the dialog used it.
    BOOL PreTranslateMessage(const QOR::KeyMsg& msg);

    /// The template this dialog was built from; null before Create.
    const QOR::DlgTemplate* dlgTemplate() const noexcept { return m_template; }

protected:
    /// A link control: with a URL, a link showing text to url; without one, plain text.
    void setLink(UINT id, const wchar_t* text, const wchar_t* url);
    /// Replaces the stock class of control id (call before Create).
    void setControlMaker(int id, QOR::DlgControlMaker maker) { m_makers[id] = std::move(maker); }

    std::map<int, CQorString> m_mapLang;    ///< control id -> message key of its text
    std::map<int, CQorString> m_mapHlp;     ///< control id -> message key of its help popup
    std::map<int, CQorString> m_mapLangDef; ///< control id -> default text when the key has none
    std::map<int, CQorString> m_mapToolTip; ///< control id -> message key of its tool tip
    CQorString m_strHelpFile;               ///< help file name with extension, or a help URL
    CQorString m_strHelpDir;                ///< folder of the help file with trailing separator
    CQorString m_strHelpTopic;              ///< help topic
    CQorString m_strDlgName;                ///< caption at creation: names the remembered geometry
    CQorString m_strCountry;                ///< language of the texts
    bool m_bSavePos = true;
    bool m_bSubDlg = false;

private:
    void bindEvents();
    void applyToolTips();
    bool hasStyle(unsigned style) const noexcept;
    CQorString settingsKey() const;
    /// Runs the kill-focus validation of field as if the focus had left it.
    void validateField(wxWindow* field);

    int m_templateId;
    wxWindow* m_parentWnd; ///< the parent Create() makes the window under; not owned
    const QOR::DlgTemplate* m_template = nullptr;
    QOR::DlgControlMakers m_makers;
    bool m_onStack = false;
    bool m_closed = false;
};

namespace QOR {

/// Step 2 of the calling pattern of an exported dialog function (dlg_env.h): the dialog takes the
/// environment's language unless keepCountry, and with withHelp its help file and topic.
QOR_UI_EXPORT void applyDlgEnv(CQorDlg& dialog, const DlgEnv_st& env, bool withHelp,
                               bool keepCountry = false);

} // namespace QOR
