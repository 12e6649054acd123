// Hatch pattern files come from users and third parties. Reading one must never crash, must keep only
// pattern lines of five to kMaxLineEntries finite numbers, and every name it lists must be found again.
#include "qor/kernel/data/hatch_pattern.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CQorPatternFile file;
    if (!file.parse(text, L"fuzz.pat")) return 0;
    if (file.messages().len() > 100) std::abort();
    CQorPatternDef def;
    for (int i = 0; i < file.len(); ++i) {
        CQorString name = file.nameAt(i);
        if (!file.get(name, def)) std::abort();
        bool ascii = true;
        for (wchar_t c : name.view())
            ascii = ascii && c < 0x80;
        name.makeLower();
        if (ascii && !file.get(name, def)) std::abort();
        for (const auto& line : def) {
            if (line.len() < 5 || line.len() > CQorPatternFile::kMaxLineEntries) std::abort();
            for (double value : line)
                if (!std::isfinite(value)) std::abort();
        }
    }
    return 0;
}
