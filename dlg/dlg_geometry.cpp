#include "qor/dlg/dlg_geometry.h"

#include <algorithm>

namespace QOR::detail {

RECT clampToDesktop(const RECT& window, const RECT& desktop) noexcept {
    // 64-bit arithmetic: the edges come from the window system and may lie anywhere in the LONG range.
    const long long left = std::max<long long>(window.left, 0);
    const long long top = std::max<long long>(window.top, 0);
    const long long x = std::min<long long>(left, left - window.right + desktop.right);
    const long long y = std::min<long long>(top, top - window.bottom + desktop.bottom);
    const long long width = (long long)window.right - window.left;
    const long long height = (long long)window.bottom - window.top;
    auto clampLong = [](long long v) { return LONG(std::clamp<long long>(v, INT32_MIN, INT32_MAX)); };
    return RECT{clampLong(x), clampLong(y), clampLong(x + width), clampLong(y + height)};
}

} // namespace QOR::detail
