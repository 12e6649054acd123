// PNG decoding of untrusted bytes: must fail cleanly on anything malformed, truncated or oversized.

#include <cstddef>
#include <cstdint>

#include "qor/platform/png_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QOR::detail::Surface surface;
    std::vector<unsigned char> alpha;
    QOR::detail::decodePng(std::span<const unsigned char>(data, size), surface, &alpha);
    return 0;
}
