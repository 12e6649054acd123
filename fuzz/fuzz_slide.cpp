// Slides come from users and old drawings. Reading one must never crash or read outside its bytes, and
// every record must lie in the 16-bit slide space; painting it onto a small raster and converting it into
// a display list must survive whatever the records say.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "qor/platform/raster/raster_dc.h"
#include "qor/slide/gdx_sld.h"
#include "qor/slide/slide.h"
#include "qor/slide/slide_reader_p.h"

namespace {

bool inSlideSpace(QOR::detail::SlidePoint p) {
    return p.x >= -32768 && p.x <= 32767 && p.y >= -32768 && p.y <= 32767;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const unsigned char> bytes(data, size);
    QOR::detail::SlideHeader header;
    if (QOR::detail::readSlideHeader(bytes, header)) {
        QOR::detail::SlideRecordReader reader(bytes, header);
        QOR::detail::SlideRecord record;
        std::size_t count = 0;
        while (reader.next(record)) {
            // Every record consumes at least a word, so a slide has no more records than words.
            if (++count > size / 2 + 1) std::abort();
            if (!inSlideSpace(record.from) || !inSlideSpace(record.to)) std::abort();
            if (record.kind == QOR::detail::SlideRecordKind::Fill &&
                (record.polygon.size() < 2 || record.polygon.front() != record.polygon.back()))
                std::abort();
            if (record.kind == QOR::detail::SlideRecordKind::Color &&
                (record.color < 0 || record.color > 255))
                std::abort();
        }
    }
    if (size > 1 << 16) return 0; // painting is linear in the records; small inputs explore more

    QOR::CSlide slide;
    slide.show(data, int(size));
    CRasterDC dc;
    CBitmap bitmap;
    if (dc.CreateCompatibleDC(nullptr) && bitmap.CreateBitmap(64, 48, 1, 32, nullptr)) {
        dc.SelectObject(&bitmap);
        slide.paint(&dc, CRect(0, 0, 64, 48));
    }
    QOR::CGdxSld sld;
    sld.load(data, int(size));
    CQorGDX gdx(CQorColor(), CQorMatrix3d(), 0.0, 0, CQorPoint3d(), CQorPoint3d());
    sld.convert(&gdx, 0, nullptr);
    return 0;
}
