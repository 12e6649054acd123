// Metafiles come from files and from the clipboard. Playing one must never crash, never read outside its
// records, and never allocate more than the records' own size justifies, whatever the header and record
// fields say; it is played both at its recorded coordinates and scaled into a rect.
#include "qor/platform/emf/emf_player.h"
#include "qor/platform/raster/raster_dc.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CEnhMetaFile mf = CEnhMetaFile::fromBytes(std::span(data, size));
    if (mf.isNull()) return 0;
    CRasterDC dc;
    CBitmap bitmap;
    if (!dc.CreateCompatibleDC(nullptr) || !bitmap.CreateBitmap(48, 32, 1, 32, nullptr)) return 0;
    dc.SelectObject(&bitmap);
    PlayEnhMetaFile(&dc, mf, nullptr);
    const RECT into{-3, 2, 45, 30};
    PlayEnhMetaFile(&dc, mf, &into);
    return 0;
}
