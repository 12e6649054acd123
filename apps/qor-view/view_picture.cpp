#include "view_picture.h"

ViewPicture::ViewPicture(wxWindow* parent, wxWindowID id) : QOR::CPicture(parent, id) {
    Bind(wxEVT_MIDDLE_DCLICK, [this](wxMouseEvent&) { Reset(); });
}

bool ViewPicture::load(const wxString& path, wxString& why) {
    m_error.clear();
    LoadImage(path.ToStdWstring().c_str());
    if (hasPicture()) return true;
    why = m_error.empty() ? wxString("not a picture") : m_error;
    return false;
}

void ViewPicture::showError(const wxString& text, const wxString&) {
    m_error = text;
}
