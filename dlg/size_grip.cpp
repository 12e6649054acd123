#include "qor/dlg/size_grip.h"

#include <wx/graphics.h>
#include <wx/pen.h>

namespace QOR::detail {

void drawSizeGrip(wxDC& dc, const wxSize& clientSize) {
    const int w = clientSize.x, h = clientSize.y;
    // Hard one-pixel lines, as the grip has always looked; cairo would blend them into the background.
    if (wxGraphicsContext* gc = dc.GetGraphicsContext()) gc->SetAntialiasMode(wxANTIALIAS_NONE);
    const wxPen grey(wxColour(128, 128, 128), 1, wxPENSTYLE_SOLID);
    const wxPen white(*wxWHITE, 1, wxPENSTYLE_SOLID);
    for (int d = 3; d <= 11; d += 4) {
        const wxPen* pens[] = {&grey, &grey, &white};
        for (int i = 0; i < 3; ++i) {
            dc.SetPen(*pens[i]);
            dc.DrawLine(w - (d + i), h, w, h - (d + i));
        }
    }
}

} // namespace QOR::detail
