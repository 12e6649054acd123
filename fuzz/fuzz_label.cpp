// Fuzzes label reading: any string is read without harm, and a text set into any string reads back
// unchanged while the entries already there keep their texts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "qor/kernel/base/string.h"
#include "qor/kernel/locale/label.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first part is the label, the rest (after the first 0xFF byte) a text to set.
    std::wstring label;
    std::wstring text;
    std::wstring* target = &label;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && target == &label) {
            target = &text;
            continue;
        }
        if (data[i] != 0) *target += wchar_t(data[i]);
    }
    const wchar_t* codes[] = {L"de", L"en", L"fr", L"x"};
    CQorString before[4];
    bool had[4];
    for (int i = 0; i < 4; ++i)
        had[i] = QOR::label_get(label.c_str(), before[i], codes[i]);

    CQorString edited(label.c_str());
    if (!QOR::label_set(edited, text.c_str(), L"en")) __builtin_trap();
    CQorString back;
    const bool found = QOR::label_get(edited, back, L"en");
    if (found != !text.empty() && label.empty()) __builtin_trap();
    if (!text.empty() && back != text.c_str()) __builtin_trap();
    // Other languages keep their texts once the label is a real label.
    if (!label.empty() && label[0] == L'\\') {
        for (int i : {0, 2, 3}) {
            CQorString after;
            if (QOR::label_get(edited, after, codes[i]) != had[i] || after != before[i]) __builtin_trap();
        }
    }
    return 0;
}
