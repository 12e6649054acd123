// Metafiles from files and from other programs' clipboards are written as SVG. Converting one must never
// crash, never read outside its records, and either fail or give a document that opens and closes.
#include "qor/platform/emf/emf_svg.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string svg;
    if (!QOR::enhMetaFileBytesToSvg(std::span(data, size), svg)) return 0;
    if (!svg.starts_with("<?xml") || !svg.ends_with("</svg>\n")) std::abort();
    return 0;
}
