// Icon and cursor files come from users' folders and from the library's own resources. Decoding must
// never crash or read outside the input, and a decoded icon's colour image and mask always have the same
// size: the requested one where a size is asked for.
#include "qor/platform/ico_codec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The file's own size and a requested one, so that choosing and resampling are both reached while the
    // input stays a plain ICO file (the seeds in tests/data/ico are).
    for (const int side : {0, 20}) {
        QOR::detail::Icon icon;
        if (QOR::detail::decodeIco(std::span(data, size), side, side, icon) != QOR::detail::Status::Ok)
            return 0;
        if (icon.color.width != icon.mask.width || icon.color.height != icon.mask.height) std::abort();
        if (side && (icon.color.width != side || icon.color.height != side)) std::abort();
        if (icon.color.bitsPerPixel != 32 || icon.mask.bitsPerPixel != 1) std::abort();
    }
    return 0;
}
