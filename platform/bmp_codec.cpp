#include "qor/platform/bmp_codec.h"

#include "qor/platform/dib_p.h"
#include "qor/platform/file_io_p.h"
#include "qor/platform/le_bytes_p.h"

namespace QOR {

namespace detail {

namespace {
constexpr std::uint32_t kFileHeaderBytes = 14;
}

Status decodeBmp(std::span<const unsigned char> bytes, Surface& out) {
    const ByteReader r(bytes);
    std::uint32_t offBits = 0;
    if (!r.has(0, kFileHeaderBytes) || bytes[0] != 'B' || bytes[1] != 'M' || !r.u32(10, offBits))
        return fail(Status::BadInput);
    DibDecodeOptions options;
    // An offset of 0 is written by some tools for rows that follow the colour table directly.
    if (offBits != 0) {
        if (offBits <= kFileHeaderBytes) return fail(Status::BadInput);
        options.bitsOffset = offBits - kFileHeaderBytes;
    }
    DibImage image;
    const Status st = decodeDib(bytes.subspan(kFileHeaderBytes), options, image);
    if (st != Status::Ok) return st;
    out = std::move(image.color);
    return Status::Ok;
}

Status resizeTo(Surface& surface, int widthPx, int heightPx) {
    const int w = widthPx > 0 ? widthPx : surface.width;
    const int h = heightPx > 0 ? heightPx : surface.height;
    if (w == surface.width && h == surface.height) return Status::Ok;
    Surface scaled;
    const Status st = scaleNearest(surface, w, h, scaled);
    if (st != Status::Ok) return st;
    surface = std::move(scaled);
    return Status::Ok;
}

} // namespace detail

bool bitmapReadBmp(CBitmap& bitmap, const wchar_t* path, int widthPx, int heightPx) noexcept {
    if (bitmap.isCreated() || widthPx < 0 || heightPx < 0) return false;
    const detail::Status st = detail::guarded([&] {
        std::vector<unsigned char> bytes;
        if (!detail::readFileBytes(path, detail::kMaxImageFileBytes, bytes))
            return detail::fail(detail::Status::BadInput);
        auto surface = std::make_shared<detail::Surface>();
        detail::Status s = detail::decodeBmp(bytes, *surface);
        if (s == detail::Status::Ok) s = detail::resizeTo(*surface, widthPx, heightPx);
        if (s != detail::Status::Ok) return s;
        return bitmap.adopt(std::move(surface)) ? detail::Status::Ok : detail::fail(detail::Status::BadInput);
    });
    return st == detail::Status::Ok;
}

} // namespace QOR
