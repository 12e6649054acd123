#include "slide_input.h"

#include <cstdio>
#include <filesystem>

#include "paths.h"
#include "qor/gdx/gdx_json.h"
#include "qor/kernel/base/string.h"
#include "qor/platform/emf/metafile.h"
#include "qor/platform/png_codec.h"
#include "qor/platform/raster/raster_dc.h"
#include "qor/slide/gdx_sld.h"
#include "qor/slide/slide.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
constexpr int kExitInput = 3;
constexpr int kExitOutput = 4;

/// Splits LIB.slb:NAME at the colon after ".slb"; false for a plain file name.
bool splitLibrary(const std::string& input, std::string& library, std::string& name) {
    const std::string low = lowerAscii(input);
    const std::size_t at = low.rfind(".slb:");
    if (at == std::string::npos) return false;
    library = input.substr(0, at + 4);
    name = input.substr(at + 5);
    return true;
}

int writePicture(QOR::CSlide& slide, const SlideJob& job) {
    const fs::path out(job.output);
    makeParentFolders(out);
    if (endsWithLower(job.output, ".emf")) {
        const HENHMETAFILE emf = slide.CreateEnhMetaFileW(CRect(0, 0, job.width, job.height));
        if (emf.isNull() || CopyEnhMetaFileW(emf, out.wstring().c_str()).isNull()) {
            std::fprintf(stderr, "qor-render: cannot write '%s'\n", job.output.c_str());
            return kExitOutput;
        }
        return kExitOk;
    }
    CRasterDC dc;
    CBitmap bitmap;
    if (!dc.CreateCompatibleDC(nullptr) || !bitmap.CreateBitmap(job.width, job.height, 1, 32, nullptr)) {
        std::fprintf(stderr, "qor-render: out of memory for a %dx%d picture\n", job.width, job.height);
        return kExitOutput;
    }
    dc.SelectObject(&bitmap);
    // As the slide window paints: background, then the slide.
    slide.paint(&dc, CRect(0, 0, job.width, job.height));
    if (!QOR::bitmapWritePng(bitmap, out.wstring().c_str())) {
        std::fprintf(stderr, "qor-render: cannot write '%s'\n", job.output.c_str());
        return kExitOutput;
    }
    return kExitOk;
}

int writeDisplayList(const SlideJob& job, const std::wstring& file, const CQorString& name,
                     const std::wstring& library) {
    QOR::CGdxSld sld;
    if (!sld.load(library.empty() ? file.c_str() : name.c_str(),
                  library.empty() ? nullptr : library.c_str())) {
        std::fprintf(stderr, "qor-render: cannot read the slide '%s'\n", job.input.c_str());
        return kExitInput;
    }
    CQorGDX gdx(CQorColor(job.backIndex.value_or(0)), CQorMatrix3d(), 0.0, 0, CQorPoint3d(), CQorPoint3d());
    sld.convert(&gdx, 0, nullptr); // a slide without drawing gives an empty list, which is still written
    const fs::path out(job.toGdx);
    makeParentFolders(out);
    if (!QOR::gdxWriteJsonFile(gdx, out)) {
        std::fprintf(stderr, "qor-render: cannot write '%s'\n", job.toGdx.c_str());
        return kExitOutput;
    }
    return kExitOk;
}

} // namespace

bool isSlideInput(const std::string& input) {
    std::string library, name;
    return endsWithLower(input, ".sld") || splitLibrary(input, library, name);
}

int loadSlideInput(const SlideJob& job) {
    if (!job.output.empty() && !endsWithLower(job.output, ".png") && !endsWithLower(job.output, ".emf")) {
        std::fprintf(stderr,
                     "qor-render: cannot write '%s': unknown output format (known for slides: .png, .emf)\n",
                     job.output.c_str());
        return kExitUsage;
    }
    std::string libraryUtf8, nameUtf8;
    const bool inLibrary = splitLibrary(job.input, libraryUtf8, nameUtf8);
    const std::wstring library = inLibrary ? fs::path(libraryUtf8).wstring() : std::wstring();
    const std::wstring file = inLibrary ? std::wstring() : fs::path(job.input).wstring();
    const CQorString name = CQorString::fromUtf8(nameUtf8);

    QOR::CSlide slide;
    const bool loaded = inLibrary ? slide.show(name.c_str(), library.c_str()) : slide.show(file.c_str());
    if (!loaded) {
        std::fprintf(stderr, "qor-render: cannot read the slide '%s'%s\n", job.input.c_str(),
                     inLibrary ? " (library missing or no slide of that name)" : "");
        return kExitInput;
    }
    if (slide.level() != 1 && slide.level() != 2) {
        std::fprintf(stderr, "qor-render: cannot read the slide '%s': level %d (known: 1, 2)\n",
                     job.input.c_str(), slide.level());
        return kExitInput;
    }
    slide.SetBkColor(job.backIndex.value_or(0));
    if (!job.output.empty()) {
        const int status = writePicture(slide, job);
        if (status != kExitOk) return status;
    }
    if (!job.toGdx.empty()) return writeDisplayList(job, file, name, library);
    return kExitOk;
}
