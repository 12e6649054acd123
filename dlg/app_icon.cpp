#include "qor/dlg/app_icon.h"

#include <wx/bitmap.h>
#include <wx/image.h>

#include "qor/kernel/base/status.h"
#include "qor/kernel/data/config.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_key.h"
#include "qor/platform/resources.h"

namespace QOR {
namespace {

constexpr int kIconDefault = 2000;

struct ApplIcon {
    const wchar_t* code;
    int icon;
};
// First match wins.
constexpr ApplIcon kApplIcons[] = {{L"OLV", 2000}, {L"TRQ", 2007}};

// Caption icons are drawn at 16 x 16; the window manager scales the big one.
constexpr int kCaptionIconPx = 32;

} // namespace

wxIcon iconFromResource(int number, int widthPx, int heightPx) noexcept {
    return detail::guardedAt("QOR::iconFromResource", wxIcon(), [&] {
        CBitmap color, mask;
        if (!iconLoadResource(color, mask, number, widthPx, heightPx)) return wxIcon();
        const int w = color.width(), h = color.height();
        wxImage image(w, h);
        image.InitAlpha();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const COLORREF c = color.surface()->colorAt(x, y);
                image.SetRGB(x, y, GetRValue(c), GetGValue(c), GetBValue(c));
                // A set bit of the AND mask lets the background through.
                const bool transparent =
                    mask.width() == w && mask.height() == h && mask.surface()->colorAt(x, y) != 0;
                image.SetAlpha(x, y, transparent ? 0 : 255);
            }
        wxIcon icon;
        icon.CopyFromBitmap(wxBitmap(image));
        return icon;
    });
}

wxIcon appIcon() noexcept {
    return detail::guardedAt("QOR::appIcon", wxIcon(), [] {
        return iconFromResource(detail::appIconId(detail::applCode()), kCaptionIconPx, kCaptionIconPx);
    });
}

namespace detail {

int appIconId(const wchar_t* appl) noexcept {
    if (!appl) return kIconDefault;
    CQorString code(appl);
    code.makeUpper();
    for (const ApplIcon& entry : kApplIcons)
        if (code == entry.code) return entry.icon;
    return kIconDefault;
}

CQorString applCode() {
    CCfgLock lock;
    CQorString code;
    if (const CQorDataItem* item = cfg_get(CQorDataKey(L"*APPL*"))) item->get(code);
    return code;
}

} // namespace detail
} // namespace QOR
