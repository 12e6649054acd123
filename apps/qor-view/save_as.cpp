#include "save_as.h"

#include <wx/filename.h>

#include "qor/platform/emf/emf_player.h"
#include "qor/platform/emf/emf_svg.h"
#include "qor/platform/png_codec.h"
#include "qor/platform/raster/raster_dc.h"

namespace {

constexpr const char* kExtensions[] = {"png", "emf", "svg"}; // indexed by SaveFormat

} // namespace

std::optional<SaveFormat> saveFormatOf(const wxString& path) {
    const wxString ext = wxFileName(path).GetExt().Lower();
    for (int i = 0; i < 3; ++i)
        if (ext == kExtensions[i]) return static_cast<SaveFormat>(i);
    return std::nullopt;
}

wxString saveFilter() {
    return "PNG picture (*.png)|*.png|Enhanced metafile (*.emf)|*.emf|SVG drawing (*.svg)|*.svg";
}

const char* extensionOf(SaveFormat format) {
    return kExtensions[static_cast<int>(format)];
}

bool writePng(const CBitmap& bitmap, const wxString& path) {
    return QOR::bitmapWritePng(bitmap, path.ToStdWstring().c_str());
}

bool writeMetafile(const HENHMETAFILE& metafile, SaveFormat format, const wxString& path) {
    if (metafile.isNull()) return false;
    const std::wstring wide = path.ToStdWstring();
    switch (format) {
    case SaveFormat::Emf: {
        HENHMETAFILE written = CopyEnhMetaFileW(metafile, wide.c_str());
        const bool ok = !written.isNull();
        DeleteEnhMetaFile(written);
        return ok;
    }
    case SaveFormat::Svg:
        return QOR::enhMetaFileWriteSvg(metafile, wide.c_str());
    case SaveFormat::Png:
        break;
    }
    return false;
}

bool playToBitmap(const HENHMETAFILE& metafile, int width, int height, CBitmap& bitmap) {
    CRasterDC dc;
    if (metafile.isNull() || width < 1 || height < 1 || !bitmap.CreateBitmap(width, height, 1, 32, nullptr) ||
        !dc.CreateCompatibleDC(nullptr)) {
        bitmap.DeleteObject();
        return false;
    }
    dc.SelectObject(&bitmap);
    const CRect rect(0, 0, width, height);
    dc.FillSolidRect(&rect, RGB(255, 255, 255));
    PlayEnhMetaFile(&dc, metafile, &rect);
    return true;
}
