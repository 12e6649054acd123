// BMP files come from users' folders. Decoding must never crash, never read outside the input, and never
// allocate more than the rows present can fill (for run-length streams, the bound dib_rle_p.h states); a
// decoded bitmap must have the size its header states.
#include "qor/platform/bmp_codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "qor/platform/dib_rle_p.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QOR::detail::Surface surface;
    if (QOR::detail::decodeBmp(std::span(data, size), surface) != QOR::detail::Status::Ok) return 0;
    if (surface.width <= 0 || surface.height <= 0 || surface.bitsPerPixel != 32) std::abort();
    const std::uint64_t pixelBytes = std::uint64_t(surface.words.size()) * 4;
    if (pixelBytes > QOR::detail::kRleMinPixelBytes &&
        pixelBytes > QOR::detail::kRlePixelBytesPerStreamByte * size)
        std::abort();
    // Resampling the result is the other half of loading a picture at a requested size.
    const int w = 1 + data[size - 1] % 64, h = 1 + data[size / 2] % 64;
    (void)QOR::detail::resizeTo(surface, w, h);
    return 0;
}
