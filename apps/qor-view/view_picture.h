#pragma once

// The picture window of qor-view: a QOR::CPicture whose load failures go to the frame instead of a
// message box of their own, and whose middle double click fits the picture, as the list view's does.

#include <wx/string.h>

#include "qor/slide/ui/picture.h"

class ViewPicture : public QOR::CPicture {
public:
    ViewPicture(wxWindow* parent, wxWindowID id);

    /// Loads path; false with the reason in why when the window holds no picture afterwards.
    bool load(const wxString& path, wxString& why);

protected:
    void showError(const wxString& text, const wxString& title) override;

private:
    wxString m_error; ///< the reason of the last failed load
};
