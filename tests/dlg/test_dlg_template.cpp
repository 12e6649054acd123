// Templates as data: every bundled template loads and lays out cleanly; a malformed one is refused with
// a message naming the file and the control.
#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/stockitem.h>

#include "dlg_test.h"
#include "qor/dlg/dlg_layout.h"
#include "qor/dlg/dlg_template.h"
#include "qor/kernel/base/diagnostics.h"

using dlg_test::DialogTest;

namespace {

std::string parseError(const std::string& json) {
    std::string error;
    EXPECT_FALSE(QOR::parseDlgTemplate(json, "t.json", error));
    return error;
}

const char* const kHeader =
    R"("id": 7, "caption": "T", "font": {"face": "MS Shell Dlg", "size": 8}, "size": [100, 50])";

std::string withControls(const std::string& controls) {
    return std::string("{") + kHeader + R"(, "controls": [)" + controls + "]}";
}

} // namespace

TEST(DlgTemplate, MalformedFilesNameFileAndControl) {
    EXPECT_EQ(parseError("{"), "t.json: not valid JSON");
    EXPECT_EQ(parseError("[]"), "t.json: the file must hold one object");
    EXPECT_EQ(parseError(withControls(R"({"id": 1, "class": "button", "rect": [1, 2, 3]})")),
              "t.json: control 1 (index 0): rect needs four numbers");
    EXPECT_EQ(parseError(withControls(R"({"id": 1, "class": "button", "rect": [1, 2, 3, 4]},
                                           {"id": 5, "class": "slider", "rect": [1, 2, 3, 4]})")),
              "t.json: control 5 (index 1): unknown class \"slider\"");
    EXPECT_EQ(
        parseError(withControls(R"({"id": 3, "class": "edit", "style": ["shiny"], "rect": [1, 2, 3, 4]})")),
        "t.json: control 3 (index 0): unknown style \"shiny\"");
    EXPECT_EQ(parseError(withControls(R"({"id": 3, "class": "edit", "rect": [1, 2, 3, 4]},
                                           {"id": 3, "class": "edit", "rect": [1, 20, 3, 4]})")),
              "t.json: control 3 (index 1): id is used twice");
    EXPECT_EQ(parseError(withControls(R"({"id": 3, "class": "edit", "rect": [1, 2, -3, 4]})")),
              "t.json: control 3 (index 0): rect width must lie in 1..4000");
    EXPECT_EQ(parseError(withControls(R"({"class": "edit", "rect": [1, 2, 3, 4]})")),
              "t.json: control ? (index 0): has no id");
    EXPECT_EQ(parseError(withControls(R"({"id": 4, "class": "icon", "rect": [1, 2, 3, 4]})")),
              "t.json: control 4 (index 0): icon control names no icon");
    EXPECT_EQ(parseError(withControls(R"({"id": 1e3, "class": "edit", "rect": [1, 2, 3, 4]})")),
              "t.json: control 1000.0 (index 0): id must be a whole number");
    EXPECT_EQ(parseError(R"({"id": 7, "size": [1, 1], "controls": []})"),
              "t.json: font needs a face and a size");
}

TEST(DlgTemplate, ParsesEveryField) {
    std::string error;
    const auto parsed = QOR::parseDlgTemplate(std::string("{") + kHeader +
                                                  R"(, "style": ["caption", "thickframe"], "controls": [
            {"id": -1, "class": "group", "text": "Gr\u00fc\u00dfe", "rect": [1, 2, 90, 40], "overlap": true},
            {"id": 12, "class": "combo", "style": ["dropdownlist", "sort"], "rect": [5, 6, 7, 8]}]})",
                                              "t.json", error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->style, QOR::kStyleCaption | QOR::kStyleThickFrame);
    ASSERT_EQ(parsed->controls.size(), 2u);
    EXPECT_EQ(parsed->controls[0].text, L"Grüße");
    EXPECT_TRUE(parsed->controls[0].overlap);
    const QOR::DlgControl* combo = parsed->control(12);
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->kind, QOR::DlgControlClass::Combo);
    EXPECT_EQ(combo->style, QOR::kStyleDropDownList | QOR::kStyleSort);
    EXPECT_EQ(combo->x + combo->y + combo->width + combo->height, 5 + 6 + 7 + 8);
    EXPECT_EQ(parsed->control(99), nullptr);
}

// Each bundled template: controls inside the dialog, none overlapping another unless one of the two
// may (a group box), and no button on one of wx's stock ids, which would end the dialog or show wx's
// own label.
TEST(DlgTemplate, EveryBundledTemplateLaysOutCleanly) {
    const std::vector<int> ids = QOR::bundledDlgTemplates();
    ASSERT_FALSE(ids.empty());
    for (const int id : ids) {
        SCOPED_TRACE("template " + std::to_string(id));
        const QOR::DlgTemplate* tmpl = QOR::dlgTemplate(id);
        ASSERT_TRUE(tmpl);
        wxDialog dialog(nullptr, wxID_ANY, "layout");
        ASSERT_TRUE(QOR::layoutDlgTemplate(dialog, *tmpl));
        const wxRect client(wxPoint(0, 0), dialog.GetClientSize());
        EXPECT_EQ(client.GetSize(), dialog.ConvertDialogToPixels(wxSize(tmpl->width, tmpl->height)));
        std::vector<wxRect> rects;
        for (const QOR::DlgControl& c : tmpl->controls) {
            const wxRect r = QOR::dlgUnitsToPixels(dialog, c.x, c.y, c.width, c.height);
            EXPECT_TRUE(client.Contains(r)) << "control " << c.id << " leaves the dialog";
            if (c.kind == QOR::DlgControlClass::Button) {
                EXPECT_FALSE(wxIsStockID(c.id)) << "control " << c.id;
            }
            if (c.id != -1) {
                wxWindow* window = dialog.FindWindow(c.id);
                ASSERT_TRUE(window) << "control " << c.id;
                EXPECT_EQ(window->GetRect(), r) << "control " << c.id;
            }
            rects.push_back(r);
        }
        for (std::size_t i = 0; i < rects.size(); ++i)
            for (std::size_t j = i + 1; j < rects.size(); ++j) {
                if (tmpl->controls[i].overlap || tmpl->controls[j].overlap) continue;
                EXPECT_FALSE(rects[i].Intersects(rects[j]))
                    << "controls " << tmpl->controls[i].id << " and " << tmpl->controls[j].id << " overlap";
            }
    }
}

// A malformed file on the search path: no dialog, and one error that names the file and the control.
TEST_F(DialogTest, MalformedTemplateFileIsReportedOnce) {
    std::vector<std::string> messages;
    const QOR::DiagnosticReceiver previous = QOR::setDiagnosticSink(
        [](void* context, QOR::DiagnosticLevel, const char* text) noexcept {
            static_cast<std::vector<std::string>*>(context)->push_back(text);
        },
        &messages);
    EXPECT_EQ(QOR::dlgTemplate(9004), nullptr);
    EXPECT_EQ(QOR::dlgTemplate(9004), nullptr);
    CQorDlg dialog(9004, nullptr);
    EXPECT_FALSE(dialog.Create());
    QOR::setDiagnosticSink(previous.sink, previous.context);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("dlg/dialogs/9004.json: control 1001 (index 1): rect needs four numbers"),
              std::string::npos)
        << messages[0];
}

TEST(DlgTemplate, MissingTemplateIsNullAndCached) {
    EXPECT_EQ(QOR::dlgTemplate(31999), nullptr);
    EXPECT_EQ(QOR::dlgTemplate(31999), nullptr);
    EXPECT_EQ(QOR::dlgTemplate(100), QOR::dlgTemplate(100)); // read once
}
