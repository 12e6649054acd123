#pragma once

// Helpers of the slide windows' tests: waiting for the X server, screenshots through the window itself,
// and a place to keep them for a person to look at.

#include <filesystem>
#include <string>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>
#include <wx/window.h>

#include "../render_ui/wait_for.h"
#include "qor/platform/bitmap.h"

namespace slide_ui {

using qor_test::waitFor;

/// Pumps events for a fifth of a second: time for a repaint that nothing can be waited for.
inline void settle() {
    wxStopWatch clock;
    while (clock.Time() < 200) {
        wxYield();
        wxMilliSleep(5);
    }
}

/// The window's client area as the screen shows it, read back through the window itself.
inline wxImage screenshot(wxWindow& window) {
    const wxSize size = window.GetClientSize();
    wxBitmap bitmap(size.x, size.y, 24);
    wxMemoryDC memory(bitmap);
    wxClientDC client(&window);
    memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
    memory.SelectObject(wxNullBitmap);
    return bitmap.ConvertToImage();
}

/// The first pixel at which two images differ, as "x,y: #rrggbb, #rrggbb"; "" for none.
inline std::string difference(const wxImage& a, const wxImage& b) {
    if (a.GetSize() != b.GetSize()) return "sizes differ";
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            if (a.GetRed(x, y) != b.GetRed(x, y) || a.GetGreen(x, y) != b.GetGreen(x, y) ||
                a.GetBlue(x, y) != b.GetBlue(x, y))
                return wxString::Format("%d,%d: #%02x%02x%02x, #%02x%02x%02x", x, y, a.GetRed(x, y),
                                        a.GetGreen(x, y), a.GetBlue(x, y), b.GetRed(x, y), b.GetGreen(x, y),
                                        b.GetBlue(x, y))
                    .ToStdString();
    return "";
}

/// A 32-bit bitmap of the core as a wxImage.
inline wxImage toImage(const CBitmap& bitmap) {
    wxImage image(bitmap.width(), bitmap.height());
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const COLORREF c = bitmap.surface()->colorAt(x, y);
            image.SetRGB(x, y, GetRValue(c), GetGValue(c), GetBValue(c));
        }
    return image;
}

/// Where screenshots go for a person to look at.
inline void keep(const wxImage& image, const char* name) {
    std::filesystem::create_directories(QOR_TEST_OUT_DIR);
    image.SaveFile(wxString(QOR_TEST_OUT_DIR) + "/" + name, wxBITMAP_TYPE_PNG);
}

} // namespace slide_ui
