#include "qor/platform/resources.h"

#include "qor/platform/ico_codec.h"

namespace QOR {

std::span<const unsigned char> resourceFind(int type, int number) noexcept {
    for (std::size_t i = 0; i < detail::kEmbeddedResourceCount; ++i) {
        const detail::ResourceEntry& e = detail::kEmbeddedResources[i];
        if (e.type == type && e.number == number) return {e.bytes, e.size};
    }
    return {};
}

bool iconLoadResource(CBitmap& color, CBitmap& mask, int number, int widthPx, int heightPx) noexcept {
    if (color.isCreated() || mask.isCreated() || widthPx < 0 || heightPx < 0) return false;
    const std::span<const unsigned char> bytes = resourceFind(RT_GROUP_ICON, number);
    if (bytes.empty()) return false;
    detail::Icon icon;
    const detail::Status st =
        detail::guarded([&] { return detail::decodeIco(bytes, widthPx, heightPx, icon); });
    return st == detail::Status::Ok && detail::adoptIcon(std::move(icon), color, mask);
}

} // namespace QOR
