#include "qor/dlg/msg_callback.h"

#include <cwchar>

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/base/status.h"
#include "qor/kernel/base/string.h"
#include "qor/kernel/base/text_utils.h"
#include "qor/kernel/locale/messages.h"

namespace QOR::detail {
namespace {

CQorString g_ring[kMsgRingSize];
int g_ringIndex = 0;

} // namespace

const wchar_t* defaultMsgCallback(const wchar_t* key, const wchar_t* defaultText,
                                  const wchar_t* country) noexcept {
    return guardedAt("QOR::defaultMsgCallback", defaultText, [&]() -> const wchar_t* {
        g_ringIndex = (g_ringIndex + 1) % kMsgRingSize;
        CQorString& slot = g_ring[g_ringIndex];
        if (!key) return defaultText;
        if (country && std::wcscmp(country, L"0") == 0) {
            slot = key;
            return slot.c_str();
        }
        CQorArrayTempl<CQorString> parts;
        const bool framed = strTok(parts, key, L"\\", true) == 3;
        const wchar_t* text = qor_msg_get(L"QOR_", framed ? parts[1].c_str() : key, defaultText, country);
        slot = framed ? parts[0] : CQorString();
        slot += text; // a key without text or default adds nothing
        if (framed) slot += parts[2];
        return slot.c_str();
    });
}

} // namespace QOR::detail
