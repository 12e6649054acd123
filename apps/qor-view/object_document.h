#pragma once

// A kernel object file (objlib/README.md) shown through an image generator, as `qor-render OBJECT.json
// --generator NAME` draws it; the View menu draws it again in another view.

#include <optional>
#include <string>

#include <wx/string.h>

#include "qor/kernel/data/dta_file.h"
#include "view_direction.h"

class CQorGDX;

class ObjectDocument {
public:
    /// True when path holds a data tree in its JSON form whose root has a text "KIND": a kernel object
    /// rather than a display list.
    static bool isObjectFile(const wxString& path);

    /// Opens the object file for reading and writing (a private copy: the file is never written). A
    /// file whose "KIND" has a schema is checked against it; a file of another kind, or of none, is
    /// opened unchecked. False with the reason in why.
    bool open(const wxString& path, wxString& why);

    /// The generator the object's "KIND" names when one is registered under that name ("DRILL", "HOLE",
    /// "WALL"); empty when the kind names none and the user has to choose.
    std::wstring generatorOfKind();

    /// Draws the object into gdx, which is replaced by a new list (the host's back colour and colour
    /// table), with the generator registered as generator, seen in view (none: as the file says):
    ///  - "DRILL" reads the view from the object's "VIEW" (a QOR::NormView), which is set to it;
    ///  - "HOLE" places the pattern by the options' "MTX", which is set to the view's world-to-view
    ///    matrix (the drillings reach the host with it and are projected in that view);
    ///  - the others draw in plan; the list's view direction turns their picture.
    /// False with the reason in why when the generator is unknown, fails or draws nothing.
    bool draw(const std::wstring& generator, std::optional<ViewDirection> view, CQorGDX& gdx, wxString& why);

private:
    QOR::CDtaFilePointer m_object;
    wxString m_name; ///< the file's name, for messages
};
