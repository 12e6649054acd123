#pragma once

// The desktop clipboard for metafiles, on wx. Installed through the clipboard seam
// (platform/clipboard.h), it puts a metafile on the desktop's clipboard in three formats, so that
// programs without a metafile reader can paste it too:
//  - image/x-emf: the metafile's bytes, as they are (the preferred format);
//  - image/svg+xml: the SVG document of its records (platform/emf/emf_svg.h), when they convert;
//  - image/png (wx's bitmap format on GTK): the metafile played onto white paper at its frame's size at
//    96 dpi, the longer side cut down to kMaxImageSide pixels with the aspect kept.
// Reading back takes image/x-emf from whichever program owns the clipboard.
//
// Threads: wx's clipboard belongs to the UI thread; so does every call of this backend, and with it the
// metafile target's refresh() with a null path while the backend is installed.

#include <wx/image.h>

#include "qor/platform/clipboard.h"
#include "qor/render/ui/export.h"

namespace QOR {

class QOR_UI_EXPORT WxClipboard final : public ClipboardBackend {
public:
    /// The MIME types offered.
    static constexpr const char* kEmfFormat = "image/x-emf";
    static constexpr const char* kSvgFormat = "image/svg+xml";
    static constexpr const char* kPngFormat = "image/png";
    /// The picture's longer side at most: a 16-megapixel image, already slow to encode on every paste.
    static constexpr int kMaxImageSide = 4096;

    ~WxClipboard() override;
    /// False while wx's clipboard is open (by this backend or any other code of the process).
    bool open() noexcept override;
    bool close() noexcept override;
    bool empty() noexcept override;
    /// Offers the metafile in the three formats (see above) and releases it. False when not open, the
    /// metafile is null or wx refuses the data; the metafile is then left as it was.
    bool setEnhMetaFile(HENHMETAFILE& metafile) noexcept override;
    /// True when the desktop's clipboard offers image/x-emf.
    bool hasEnhMetaFile() const noexcept override;
    /// The image/x-emf data on the desktop's clipboard; null when there is none or it is no metafile.
    HENHMETAFILE getEnhMetaFile() const noexcept override;

private:
    bool m_open = false;
};

/// Installs a process-wide WxClipboard (setClipboardBackend); call it on the UI thread once wx runs.
QOR_UI_EXPORT void installWxClipboard() noexcept;

/// The picture the clipboard offers as image/png (see above); an invalid image when the metafile is null,
/// malformed or too large for memory.
QOR_UI_EXPORT wxImage metafileImage(const HENHMETAFILE& metafile) noexcept;

} // namespace QOR
