// Slide libraries come from users. Reading the directory must never crash; every name it lists must be
// shorter than 33 bytes, and a lookup that succeeds must hand back bytes inside the library.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "qor/slide/slide_library_p.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const unsigned char> library(data, size);
    const auto entries = QOR::detail::readSlideLibraryDirectory(library);
    if (entries.size() > size / QOR::detail::kSlideLibraryEntryBytes) std::abort();
    for (const auto& entry : entries) {
        if (entry.name.empty() || entry.name.size() > QOR::detail::kSlideNameBytes) std::abort();
        std::span<const unsigned char> slide;
        if (!QOR::detail::findSlideInLibrary(library, entry.name, slide)) continue;
        if (entry.name.size() >= QOR::detail::kSlideNameBytes) std::abort();
        if (!slide.empty() && (slide.data() < data || slide.data() + slide.size() > data + size))
            std::abort();
    }
    return 0;
}
