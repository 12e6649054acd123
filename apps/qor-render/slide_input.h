#pragma once

// Slide inputs of qor-render: a slide file (NAME.sld) or a slide of a slide library (LIB.slb:NAME),
// painted into a PNG, recorded as an EMF, or converted into a display list in its JSON form.

#include <optional>
#include <string>

struct SlideJob {
    std::string input;  ///< FILE.sld or LIB.slb:NAME
    std::string output; ///< .png or .emf; empty for none
    std::string toGdx;  ///< the display list's JSON file; empty for none
    int width = 800;    ///< picture size in pixels
    int height = 600;
    std::optional<int> backIndex; ///< AutoCAD colour index of the background (default 0)
};

/// True when input names a slide: it ends in .sld, or it has the form LIB.slb:NAME (any letter case).
bool isSlideInput(const std::string& input);

/// Loads the slide and writes what the job asks for; returns qor-render's exit status (0 done, 2 unknown
/// output format, 3 unreadable input, 4 output not written) after printing the reason.
int loadSlideInput(const SlideJob& job);
