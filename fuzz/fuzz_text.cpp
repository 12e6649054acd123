// Text from outside the library: UTF-8 bytes from files, escapes from message catalogues, numbers typed by
// users. Decoding must never crash, must produce text that encodes back to the same characters, and every
// string operation on the result must stay inside its bounds.
#include "qor/kernel/base/numbers.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/base/text_utils.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CQorString text = CQorString::fromUtf8(bytes);
    if (CQorString::fromUtf8(text.toUtf8()) != text) std::abort();

    const int n = text.len();
    const int at = n > 0 ? int(data[0]) % (n + 2) - 1 : 0;
    (void)text.find(text.mid(at, 3).c_str(), at);
    (void)text.right(at);
    (void)QOR::atof(text);
    (void)QOR::atoi(text);

    CQorArrayTempl<CQorString> parts;
    QOR::strTok(parts, text, L"\\/", true);
    if (QOR::implode(parts, L"\\") != text && text.find(L'/') < 0) std::abort();

    CQorString escaped(text);
    escaped.unEscapeWideChar();
    if (escaped.len() > n) std::abort();
    escaped.replace(L"\\", L"\\\\");
    escaped.makeUpper();
    return 0;
}
