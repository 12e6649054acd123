#pragma once

// Which kind of file qor-view is asked to open, told by its name, and the filters of File > Open.

#include <wx/string.h>

enum class FileKind {
    Unknown,
    DisplayList,  ///< .json: a display list in its JSON form, else a kernel object file
    Slide,        ///< .sld
    SlideLibrary, ///< .slb
    Picture,      ///< .png, .jpg, .jpeg, .bmp, .ico, .gif, .tif, .tiff
};

/// The kind by the extension of path, ignoring letter case. A .json file may still turn out to be a
/// kernel object: only its content tells (DocumentLoader).
FileKind fileKindOf(const wxString& path);

/// The wildcard of File > Open: every kind first, then one filter per kind, then all files.
wxString openFilter();
