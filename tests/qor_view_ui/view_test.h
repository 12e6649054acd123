#pragma once

// Helpers of qor-view's tests: the bundled files, a frame on the screen, menu commands sent as the
// menu sends them, and pictures that must show something.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <wx/image.h>

#include "../slide_ui/window_test.h"
#include "view_frame.h"

namespace view_test {

using slide_ui::difference;
using slide_ui::keep;
using slide_ui::settle;
using slide_ui::toImage;
using slide_ui::waitFor;

inline wxString resFile(const char* name) {
    return wxString(QOR_RES_DIR) + "/" + name;
}

inline wxString dataFile(const char* name) {
    return wxString(QOR_TEST_DATA_DIR) + "/" + name;
}

/// True when the image holds more than one colour.
inline bool showsSomething(const wxImage& image) {
    if (!image.IsOk()) return false;
    const unsigned char* rgb = image.GetData();
    const long size = long(image.GetWidth()) * image.GetHeight() * 3;
    for (long i = 3; i < size; i += 3)
        if (rgb[i] != rgb[0] || rgb[i + 1] != rgb[1] || rgb[i + 2] != rgb[2]) return true;
    return false;
}

/// Removes the file if it is there.
inline void removeFile(const wxString& path) {
    std::error_code ignored;
    std::filesystem::remove(path.ToStdString(), ignored);
}

/// Sends the menu command id to frame as choosing it in the menu does.
inline void menu(ViewFrame& frame, int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(&frame);
    frame.ProcessWindowEvent(event);
}

/// The frame with its questions answered by the test.
class TestFrame : public ViewFrame {
public:
    TestFrame() : ViewFrame(nullptr) {}
    wxString savePath;          ///< what File > Save as is told
    std::wstring generator;     ///< what the generator question is told
    int generatorQuestions = 0; ///< how often it was asked

protected:
    wxString askSavePath(const wxString&) override { return savePath; }
    std::wstring askGenerator(const wxString&) override {
        ++generatorQuestions;
        return generator;
    }
};

/// A frame on the screen that remembers nothing and reports on stderr; destroyed after each test.
class FrameTest : public testing::Test {
protected:
    void SetUp() override {
        m_frame = new TestFrame;
        m_frame->setQuiet(true);
        m_frame->SetSize(640, 480);
        m_frame->Show();
        ASSERT_TRUE(waitFor([&] { return m_frame->IsShownOnScreen(); }));
    }
    void TearDown() override {
        m_frame->Destroy();
        wxYield();
    }
    /// What the shown window shows once it has painted.
    wxImage shot() {
        wxWindow* window = m_frame->shownWindow();
        if (window) {
            waitFor([&] { return window->IsShownOnScreen(); });
            window->Update();
        }
        settle();
        return m_frame->screenshot();
    }

    TestFrame* m_frame = nullptr;
};

} // namespace view_test
