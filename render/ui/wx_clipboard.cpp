#include "qor/render/ui/wx_clipboard.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include "qor/kernel/base/status.h"
#include "qor/platform/bitmap.h"
#include "qor/platform/emf/emf_player.h"
#include "qor/platform/emf/emf_svg.h"
#include "qor/platform/raster/raster_dc.h"

namespace QOR {
namespace {

/// Opens wx's clipboard for one read unless it is open already; closes it again when it opened it.
class ReadScope {
public:
    ReadScope() : m_opened(!wxTheClipboard->IsOpened() && wxTheClipboard->Open()) {}
    ~ReadScope() {
        if (m_opened) wxTheClipboard->Close();
    }
    ReadScope(const ReadScope&) = delete;
    ReadScope& operator=(const ReadScope&) = delete;
    bool ok() const { return m_opened || wxTheClipboard->IsOpened(); }

private:
    bool m_opened;
};

/// The frame's size in pixels at the metafile's reference resolution; {0, 0} when it has none.
SIZE framePixels(const EnhMetaHeader& h) {
    const auto pixels = [](std::int64_t from, std::int64_t to, LONG px, LONG mm) {
        const double perHimm = px > 0 && mm > 0 ? double(px) / (double(mm) * 100.0) : 96.0 / 2540.0;
        return std::llround(double(to + 1) * perHimm) - std::llround(double(from) * perHimm);
    };
    const std::int64_t w = pixels(h.frameHimm.left, h.frameHimm.right, h.devicePx.cx, h.deviceMm.cx);
    const std::int64_t ht = pixels(h.frameHimm.top, h.frameHimm.bottom, h.devicePx.cy, h.deviceMm.cy);
    if (w <= 0 || ht <= 0) return SIZE{0, 0};
    const double cut = std::min(1.0, double(WxClipboard::kMaxImageSide) / double(std::max(w, ht)));
    return SIZE{LONG(std::max<std::int64_t>(1, std::llround(double(w) * cut))),
                LONG(std::max<std::int64_t>(1, std::llround(double(ht) * cut)))};
}

wxImage renderImage(const HENHMETAFILE& metafile) {
    EnhMetaHeader header{};
    if (!metafile.header(header)) return wxImage();
    const SIZE size = framePixels(header);
    CBitmap bitmap;
    CRasterDC dc;
    if (size.cx <= 0 || !bitmap.CreateBitmap(size.cx, size.cy, 1, 32, nullptr) ||
        !dc.CreateCompatibleDC(nullptr))
        return wxImage();
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, size.cx, size.cy, RGB(255, 255, 255));
    const RECT into{0, 0, size.cx, size.cy};
    const bool played = PlayEnhMetaFile(&dc, metafile, &into);
    dc.SelectObject(old);
    if (!played) return wxImage();
    wxImage image(size.cx, size.cy, false);
    if (!image.IsOk()) return wxImage();
    unsigned char* rgb = image.GetData();
    const detail::Surface& s = *bitmap.surface();
    for (int y = 0; y < size.cy; ++y) {
        const std::uint32_t* row = s.row32(y);
        for (int x = 0; x < size.cx; ++x, rgb += 3) {
            rgb[0] = (unsigned char)(row[x] >> 16);
            rgb[1] = (unsigned char)(row[x] >> 8);
            rgb[2] = (unsigned char)row[x];
        }
    }
    return image;
}

} // namespace

WxClipboard::~WxClipboard() {
    if (m_open && wxTheClipboard) wxTheClipboard->Close();
}

bool WxClipboard::open() noexcept {
    return detail::guardedAt("WxClipboard::open", false, [&] {
        if (m_open || wxTheClipboard->IsOpened()) return false;
        m_open = wxTheClipboard->Open();
        return m_open;
    });
}

bool WxClipboard::close() noexcept {
    if (!m_open) return false;
    m_open = false;
    return detail::guardedAt("WxClipboard::close", false, [&] {
        wxTheClipboard->Close();
        return true;
    });
}

bool WxClipboard::empty() noexcept {
    if (!m_open) return false;
    return detail::guardedAt("WxClipboard::empty", false, [&] {
        wxTheClipboard->Clear();
        return true;
    });
}

bool WxClipboard::setEnhMetaFile(HENHMETAFILE& metafile) noexcept {
    if (!m_open || metafile.isNull()) return false;
    return detail::guardedAt("WxClipboard::setEnhMetaFile", false, [&] {
        auto all = std::make_unique<wxDataObjectComposite>();
        const auto bytes = metafile.bytes();
        auto* emf = new wxCustomDataObject(wxDataFormat(kEmfFormat));
        all->Add(emf, true); // owned by the composite from here on
        if (!emf->SetData(bytes.size(), bytes.data())) return false;
        // A metafile whose records do not convert is still offered as itself.
        std::string svgText;
        if (enhMetaFileToSvg(metafile, svgText)) {
            auto* svg = new wxCustomDataObject(wxDataFormat(kSvgFormat));
            all->Add(svg);
            if (!svg->SetData(svgText.size(), svgText.data())) return false;
        }
        if (const wxImage image = renderImage(metafile); image.IsOk())
            all->Add(new wxBitmapDataObject(wxBitmap(image, 24)));
        if (!wxTheClipboard->SetData(all.get())) return false;
        all.release(); // the clipboard owns it now
        DeleteEnhMetaFile(metafile);
        return true;
    });
}

bool WxClipboard::hasEnhMetaFile() const noexcept {
    return detail::guardedAt("WxClipboard::hasEnhMetaFile", false, [&] {
        const ReadScope scope;
        return scope.ok() && wxTheClipboard->IsSupported(wxDataFormat(kEmfFormat));
    });
}

HENHMETAFILE WxClipboard::getEnhMetaFile() const noexcept {
    return detail::guardedAt("WxClipboard::getEnhMetaFile", HENHMETAFILE(), [&] {
        const ReadScope scope;
        wxCustomDataObject data{wxDataFormat(kEmfFormat)};
        if (!scope.ok() || !wxTheClipboard->IsSupported(data.GetFormat()) || !wxTheClipboard->GetData(data))
            return HENHMETAFILE();
        return CEnhMetaFile::fromBytes(
            std::span(static_cast<const unsigned char*>(data.GetData()), data.GetSize()));
    });
}

void installWxClipboard() noexcept {
    // Lives until the process ends, so it outlives every call made through the seam.
    static WxClipboard backend;
    setClipboardBackend(&backend);
}

wxImage metafileImage(const HENHMETAFILE& metafile) noexcept {
    return detail::guardedAt("metafileImage", wxImage(), [&] { return renderImage(metafile); });
}

} // namespace QOR
