#pragma once

// Helpers of the dialog tests: a fixture that finds the test templates, keeps the configuration and
// the settings file as it found them, and records what help would open; screenshots for a person.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

#include "../render_ui/wait_for.h"
#include "qor/dlg/file_dialog.h"
#include "qor/dlg/help.h"
#include "qor/dlg/qor_dlg.h"
#include "qor/dlg/registry.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_key.h"

namespace dlg_test {

/// The test templates (tests/data/dlg/dialogs/9001 ... 9003.json).
constexpr int kTemplateEdits = 9001;     // resizable, edit fields, help button
constexpr int kTemplateNoCaption = 9002; // empty caption
constexpr int kTemplateFixed = 9003;     // fixed size

/// Records what help would show instead of showing it.
struct RecordingViewer : QOR::HelpViewer {
    std::vector<std::string> urls, books, popups;
    bool openUrl(const wxString& url) override {
        urls.push_back(url.ToStdString(wxConvUTF8));
        return true;
    }
    bool openBook(const wxString& book, const wxString& topic) override {
        books.push_back((book + "#" + topic).ToStdString(wxConvUTF8));
        return true;
    }
    void popup(wxWindow*, const wxString& text, const wxPoint&) override {
        popups.push_back(text.ToStdString(wxConvUTF8));
    }
};

/// Answers the file and folder questions as a user would (an empty answer cancels) and records each
/// question as "title|folder|name|filter|mustExist" or "title|start".
struct AnsweringPicker : QOR::FilePicker {
    wxString answer;
    std::vector<std::string> questions;
    bool pickFile(wxWindow*, const wxString& title, const wxString& folder, const wxString& name,
                  const wxString& filter, bool mustExist, wxString& chosen) override {
        questions.push_back((title + "|" + folder + "|" + name + "|" + filter + "|" + (mustExist ? "1" : "0"))
                                .ToStdString(wxConvUTF8));
        chosen = answer;
        return !answer.empty();
    }
    bool pickFolder(wxWindow*, const wxString& title, const wxString& start, wxString& chosen) override {
        questions.push_back((title + "|" + start).ToStdString(wxConvUTF8));
        chosen = answer;
        return !answer.empty();
    }
};

class DialogTest : public testing::Test {
protected:
    void SetUp() override {
        CQorDataItem* root = QOR::cfgMgrPtr()->getCfgRoot();
        CQorArrayTempl<CQorString> path;
        path.append(CQorString::fromUtf8(QOR_TEST_DATA_DIR "/dlg"));
        root->set(path, CQorDataKey(L"*QOR_SEARCH_PATH*"));
        std::filesystem::remove(QOR::detail::registryFile().toUtf8());
        m_previousViewer = QOR::setHelpViewer(&m_viewer);
        m_previousPicker = QOR::setFilePicker(&m_picker);
    }
    void TearDown() override {
        QOR::setHelpViewer(m_previousViewer);
        QOR::setFilePicker(m_previousPicker);
        std::filesystem::remove(QOR::detail::registryFile().toUtf8());
    }

    static void setConfig(const wchar_t* key, const wchar_t* text) {
        QOR::cfgMgrPtr()->getCfgRoot()->set(text, CQorDataKey(key));
    }

    QOR::CCfgBackup m_backup; // the configuration as the test found it
    RecordingViewer m_viewer;
    QOR::HelpViewer* m_previousViewer = nullptr;
    AnsweringPicker m_picker;
    QOR::FilePicker* m_previousPicker = nullptr;
};

/// A dialog of a test template with the language keys a test gives it.
class TestDlg : public CQorDlg {
public:
    explicit TestDlg(int templateId, wxWindow* parent = nullptr) : CQorDlg(templateId, parent) {}
    std::map<int, CQorString> lang, langDef, help, tips;
    std::vector<std::wstring> boxes; // texts of the message boxes it was asked to show

    void addLangRsc() override {
        m_mapLang = lang;
        m_mapLangDef = langDef;
    }
    void addHlpRsc() override { m_mapHlp = help; }
    void addToolTipRsc() override { m_mapToolTip = tips; }
    int MessageBoxW(const wchar_t* text, const wchar_t*, int) override {
        boxes.emplace_back(text);
        return QOR::IDOK;
    }
};

using qor_test::waitFor;

/// The window as the screen shows it (client area and the frame wx draws inside it).
inline wxImage screenshot(wxWindow& window) {
    const wxSize size = window.GetClientSize();
    wxBitmap bitmap(size.x, size.y, 24);
    wxMemoryDC memory(bitmap);
    wxClientDC client(&window);
    memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
    memory.SelectObject(wxNullBitmap);
    return bitmap.ConvertToImage();
}

/// Where screenshots go for a person to look at.
inline void keep(const wxImage& image, const std::string& name) {
    std::filesystem::create_directories(QOR_TEST_OUT_DIR);
    image.SaveFile(wxString(QOR_TEST_OUT_DIR) + "/" + name, wxBITMAP_TYPE_PNG);
}

} // namespace dlg_test
