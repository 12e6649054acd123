// qor-render: draws a display list (its JSON form) or an AutoCAD slide into a PNG file (the window
// picture) or an enhanced metafile; slides also into a display list. Without arguments it draws the
// bundled demo drawing into out/demo.png and out/demo.emf.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "paths.h"
#include "qor/gdx/gdx_json.h"
#include "qor/kernel/base/version.h"
#include "qor/kernel/data/file_find.h"
#include "qor/platform/png_codec.h"
#include "qor/render/render.h"
#include "slide_input.h"
#if defined(QOR_RENDER_OBJECTS)
#include "object_input.h"
#include "shared/generators.h"
#endif

namespace fs = std::filesystem;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;  // bad options
constexpr int kExitInput = 3;  // unreadable or malformed input
constexpr int kExitOutput = 4; // the output could not be written

const char* const kUsage =
    "usage: qor-render INPUT -o OUTPUT [--size WxH] [--back COLOUR] [--view NAME] [--keep-view]\n"
    "       qor-render SLIDE [-o OUTPUT] [--to-gdx LIST.json] [--size WxH] [--back INDEX]\n"
    "       qor-render OBJECT --generator NAME [--options OPTIONS] [-o OUTPUT] [--to-gdx LIST.json] ...\n"
    "       qor-render            draw the bundled demo into out/demo.png and out/demo.emf\n"
    "\n"
    "Draws a display list or an AutoCAD slide into an image file.\n"
    "\n"
    "  INPUT            a display list in its JSON form (.json)\n"
    "  SLIDE            an AutoCAD slide: FILE.sld, or LIB.slb:NAME for slide NAME of a slide library\n"
    "                   (names compare ignoring letter case)\n"
    "  OBJECT           a kernel object file (.json), drawn by the generator --generator names\n"
    "  --generator NAME the image generator for OBJECT: BGR (an assembly), DRILL (a drilling),\n"
    "                   HOLE (a hole pattern), WALL (walls), WALL_EDIT (the wall being edited, as the\n"
    "                   configuration says), EXTR (an extrusion's section), FSHEET (a formed sheet or\n"
    "                   sandwich panel), BAR_SURFACE (a bar element's section; --options names it)\n"
    "  --options F      (objects) the generator's options, a data tree in its JSON form\n"
    "  -o, --output F   the file to write; its extension picks the format:\n"
    "                   .png  the window picture (back colour, 32-bit colour)\n"
    "                   .emf  an enhanced metafile for paper: no background, white drawn black,\n"
    "                         the view always fitted to the drawing (slides: colour 7 drawn black)\n"
    "  --to-gdx F       (slides, objects) also write what was drawn as a display list in its JSON\n"
    "                   form (slides in slide pixels); -o may then be left out\n"
    "  --size WxH       picture size in pixels (default 800x600; each side 1 to 16384)\n"
    "  --back COLOUR    back colour: an AutoCAD colour index 0-255 or #RRGGBB (default: the list's);\n"
    "                   a metafile uses it for colourless items and behind icons only; slides take\n"
    "                   the nearest index, default 0, and on 7 draw colour 7 black\n"
    "  --view NAME      view direction: P (plan), N, S, O, W, NO, NW, SO, SW\n"
    "  --keep-view      draw with the list's own view and zoom instead of fitting the drawing to the\n"
    "                   picture (a metafile keeps the zoom only)\n"
    "  -h, --help       this text\n"
    "\n"
    "Exit status: 0 done, 2 bad options, 3 unreadable input, 4 output not written.\n";

struct Options {
    std::string input;
    std::string output;
    int width = 800;
    int height = 600;
    std::optional<CQorColor> back;
    std::string view;
    bool keepView = false;
    std::string toGdx;
    std::string generator;   ///< objects: the generator's registered name
    std::string optionsFile; ///< objects: the generator's options
};

int usageError(const std::string& message) {
    std::fprintf(stderr, "qor-render: %s\n(qor-render --help lists the options)\n", message.c_str());
    return kExitUsage;
}

bool parseSize(std::string_view text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    auto number = [](std::string_view s, int& out) {
        if (s.empty() || s.size() > 5) return false;
        int v = 0;
        for (char c : s) {
            if (c < '0' || c > '9') return false;
            v = v * 10 + (c - '0');
        }
        out = v;
        return v >= 1 && v <= 16384;
    };
    return number(text.substr(0, x), width) && number(text.substr(x + 1), height);
}

bool parseColour(std::string_view text, CQorColor& colour) {
    if (text.size() == 7 && text[0] == '#') {
        unsigned rgb = 0;
        for (char c : text.substr(1)) {
            const char* const digits = "0123456789abcdef";
            const char* at = std::strchr(digits, std::tolower(static_cast<unsigned char>(c)));
            if (!at || !*at) return false;
            rgb = rgb * 16 + unsigned(at - digits);
        }
        colour.setColor(rgb);
        return true;
    }
    if (text.empty() || text.size() > 3) return false;
    int index = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        index = index * 10 + (c - '0');
    }
    return index <= 255 && colour.setColorIndex(index);
}

/// Parses argv into options; returns -1 when drawing should go on, else the exit status.
int parseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return kExitOk;
        } else if (arg == "-o" || arg == "--output") {
            if (!value(options.output)) return usageError("-o needs a file name");
        } else if (arg == "--size") {
            if (!value(text) || !parseSize(text, options.width, options.height))
                return usageError("--size needs WxH with each side from 1 to 16384, for example 800x600");
        } else if (arg == "--back") {
            CQorColor colour;
            if (!value(text) || !parseColour(text, colour))
                return usageError("--back needs a colour index 0-255 or #RRGGBB");
            options.back = colour;
        } else if (arg == "--view") {
            if (!value(options.view)) return usageError("--view needs a view name");
        } else if (arg == "--to-gdx") {
            if (!value(options.toGdx)) return usageError("--to-gdx needs a file name");
        } else if (arg == "--generator") {
            if (!value(options.generator)) return usageError("--generator needs a generator name");
        } else if (arg == "--options") {
            if (!value(options.optionsFile)) return usageError("--options needs a file name");
        } else if (arg == "--keep-view") {
            options.keepView = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return usageError("unknown option " + std::string(arg));
        } else if (options.input.empty()) {
            options.input = arg;
        } else {
            return usageError("more than one input: " + std::string(arg));
        }
    }
    if (options.input.empty()) return usageError("no input given");
    if (!options.optionsFile.empty() && options.generator.empty())
        return usageError("--options goes with --generator");
    if (options.output.empty() &&
        (options.toGdx.empty() || (!isSlideInput(options.input) && options.generator.empty())))
        return usageError("no output given (-o FILE)");
    return -1;
}

int fitAndWrite(CQorGDX& gdx, const Options& options);
int renderObject(const Options& options);

/// True when the output's extension names a known format; otherwise says so.
bool knownOutput(const std::string& output) {
    const std::string ext = lowerExtension(output);
    if (ext == ".png" || ext == ".emf") return true;
    std::fprintf(stderr, "qor-render: cannot write '%s': unknown output format '%s' (known: .png, .emf)\n",
                 output.c_str(), ext.c_str());
    return false;
}

/// Draws gdx into the output file, by the target its extension names.
int writeOutput(CQorGDX& gdx, const Options& options, bool metafile) {
    const fs::path out(options.output);
    makeParentFolders(out);
    if (metafile) {
        if (!QOR::paintToMetafile(&gdx, out.wstring().c_str(), options.width, options.height)) {
            std::fprintf(stderr, "qor-render: cannot write '%s'\n", options.output.c_str());
            return kExitOutput;
        }
        return kExitOk;
    }
    CBitmap bitmap;
    if (!QOR::paintToBitmap(&gdx, bitmap, options.width, options.height)) {
        std::fprintf(stderr, "qor-render: out of memory for a %dx%d picture\n", options.width,
                     options.height);
        return kExitOutput;
    }
    if (!QOR::bitmapWritePng(bitmap, out.wstring().c_str())) {
        std::fprintf(stderr, "qor-render: cannot write '%s'\n", options.output.c_str());
        return kExitOutput;
    }
    return kExitOk;
}

int render(const Options& options) {
    if (isSlideInput(options.input)) {
        const std::optional<int> back =
            options.back ? std::optional<int>(options.back->colorIndex()) : std::nullopt;
        return loadSlideInput(
            {options.input, options.output, options.toGdx, options.width, options.height, back});
    }
    if (!options.generator.empty()) return renderObject(options);
    if (!options.toGdx.empty())
        return usageError("--to-gdx takes a slide (.sld or LIB.slb:NAME) or an object");
    if (!knownOutput(options.output)) return kExitUsage;
    const std::string inExt = lowerExtension(options.input);
    if (inExt != ".json") {
        std::fprintf(stderr, "qor-render: cannot read '%s': unknown input format '%s' (known: .json)\n",
                     options.input.c_str(), inExt.c_str());
        return kExitInput;
    }

    CQorGDX gdx(CQorColor(), CQorMatrix3d(), 0.0, 0, CQorPoint3d(), CQorPoint3d());
    std::string error;
    if (!QOR::gdxReadJsonFile(gdx, options.input, &error)) {
        std::fprintf(stderr, "qor-render: cannot read '%s': %s\n", options.input.c_str(), error.c_str());
        return kExitInput;
    }
    return fitAndWrite(gdx, options);
}

/// Applies the back colour and view of the options to gdx, fits it to the picture unless --keep-view,
/// and writes it.
int fitAndWrite(CQorGDX& gdx, const Options& options) {
    if (options.back) gdx.backColorSet(*options.back);
    if (!options.view.empty() && !gdx.viewDirectionSet(CQorString::fromUtf8(options.view.c_str()))) {
        std::fprintf(stderr, "qor-render: unknown view '%s' (known: P, N, S, O, W, NO, NW, SO, SW)\n",
                     options.view.c_str());
        return kExitUsage;
    }
    if (!options.keepView) {
        gdx.projMtxSet(CQorMatrix3d(gdx.projMtxGet())); // recomputes the extents from the items
        CQorPoint3d min, max;
        gdx.extMaxViewGet(min, max);
        gdx.viewMtxSet(getViewMtx(min, max, options.height, options.width, 0.05));
        gdx.zoomMtxSet(CQorMatrix3d());
    }
    return writeOutput(gdx, options, lowerExtension(options.output) == ".emf");
}

/// A kernel object drawn by a registered generator, written as a picture and/or a display list.
int renderObject(const Options& options) {
#if defined(QOR_RENDER_OBJECTS)
    if (!options.output.empty() && !knownOutput(options.output)) return kExitUsage;
    registerGenerators();
    CQorGDX gdx; // background and colour table from the host and the configuration
    const int status = drawObjectInput(options.input, options.generator, options.optionsFile, gdx);
    if (status >= 0) return status;
    if (!options.toGdx.empty()) {
        makeParentFolders(fs::path(options.toGdx));
        if (!QOR::gdxWriteJsonFile(gdx, options.toGdx)) {
            std::fprintf(stderr, "qor-render: cannot write '%s'\n", options.toGdx.c_str());
            return kExitOutput;
        }
    }
    return options.output.empty() ? kExitOk : fitAndWrite(gdx, options);
#else
    (void)options;
    return usageError("--generator needs qor_objects, which this build leaves out");
#endif
}

/// The main job: the bundled demo drawn into out/, as the window shows it and as a metafile.
int renderDemo() {
    Options options;
    const CQorString res = QOR::resourceDir();
    options.input = (fs::path(std::wstring(res.view())) / "demo" / "demo.json").string();
    std::printf("Qor %s: drawing the demo %s\n", QOR::version(), options.input.c_str());
    for (const char* name : {"demo.png", "demo.emf"}) {
        options.output = (fs::path("out") / name).string();
        const int status = render(options);
        if (status != kExitOk) return status;
        std::printf("wrote %s (%dx%d)\n", fs::absolute(options.output).string().c_str(), options.width,
                    options.height);
    }
    return kExitOk;
}

} // namespace

int main(int argc, char** argv) {
    if (argc <= 1) return renderDemo();
    Options options;
    const int status = parseArguments(argc, argv, options);
    if (status >= 0) return status;
    return render(options);
}
