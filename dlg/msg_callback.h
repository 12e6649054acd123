#pragma once

// The message callback through which every text of the library's dialogs is found, and the module's
// default one.
//
// A message key is a catalogue key ("QOR_OUTL_0002") or three parts joined by backslashes, prefix, key
// and suffix ("\QOR_OUTL_0004\..." gives the text of QOR_OUTL_0004 followed by "..."); a key of any other
// number of parts is looked up whole.

#include "qor/render/ui/export.h"

namespace QOR {

/// Finds the text of `key` in the language `country`, or gives `defaultText`. The returned text is read
/// at once by the caller; it need only stay valid until the next few look-ups.
using MsgCallback = const wchar_t* (*)(const wchar_t* key, const wchar_t* defaultText,
                                       const wchar_t* country);

namespace detail {

/// The default callback: country "0" gives the key itself (a dialog then shows its keys); otherwise the
/// text of the key (split as above) from the catalogues (qor_msg_get with the prefix "QOR_"), else
/// defaultText, framed by the key's prefix and suffix. The result lives in a process-wide ring of eight
/// strings: it stays valid until eight further look-ups. A null key gives defaultText. UI thread only.
QOR_UI_EXPORT const wchar_t* defaultMsgCallback(const wchar_t* key, const wchar_t* defaultText,
                                                const wchar_t* country) noexcept;

/// Number of result strings in the ring of defaultMsgCallback.
constexpr int kMsgRingSize = 8;

} // namespace detail
} // namespace QOR
