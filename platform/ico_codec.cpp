#include "qor/platform/ico_codec.h"

#include <algorithm>
#include <cstdlib>

#include "qor/platform/bmp_codec.h"
#include "qor/platform/dib_p.h"
#include "qor/platform/file_io_p.h"
#include "qor/platform/le_bytes_p.h"
#include "qor/platform/png_codec.h"

namespace QOR {

namespace detail {

namespace {

constexpr std::uint64_t kDirHeaderBytes = 6;
constexpr std::uint64_t kDirEntryBytes = 16;
constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct Entry {
    int width;
    int height;
    int bits;
    std::uint32_t bytes;
    std::uint32_t offset;
    POINT hotspot;
    int index;
};

bool isPng(std::span<const unsigned char> image) {
    return image.size() >= 8 && std::equal(kPngSignature, kPngSignature + 8, image.begin());
}

Status decodePngImage(std::span<const unsigned char> image, Icon& out) {
    // The header's size is read before decoding so that a tiny file cannot ask for a huge image.
    if (image.size() < 24) return fail(Status::BadInput);
    const std::uint32_t w = (std::uint32_t(image[16]) << 24) | (std::uint32_t(image[17]) << 16) |
                            (std::uint32_t(image[18]) << 8) | image[19];
    const std::uint32_t h = (std::uint32_t(image[20]) << 24) | (std::uint32_t(image[21]) << 16) |
                            (std::uint32_t(image[22]) << 8) | image[23];
    if (w == 0 || h == 0 || w > std::uint32_t(kMaxPngIconSide) || h > std::uint32_t(kMaxPngIconSide))
        return fail(Status::BadInput);
    std::vector<unsigned char> alpha;
    Status st = decodePng(image, out.color, &alpha);
    if (st != Status::Ok) return st;
    if ((st = out.mask.create(out.color.width, out.color.height, 1)) != Status::Ok) return st;
    for (int y = 0; y < out.color.height; ++y) {
        unsigned char* row = out.mask.row1(y);
        for (int x = 0; x < out.color.width; ++x)
            if (alpha[std::size_t(y) * std::size_t(out.color.width) + std::size_t(x)] < 128)
                row[x >> 3] |= (unsigned char)(0x80 >> (x & 7));
    }
    return Status::Ok;
}

Status decodeImage(std::span<const unsigned char> image, Icon& out) {
    if (isPng(image)) return decodePngImage(image, out);
    DibDecodeOptions options;
    options.iconHalves = true;
    DibImage dib;
    const Status st = decodeDib(image, options, dib);
    if (st != Status::Ok) return st;
    out.color = std::move(dib.color);
    out.mask = std::move(dib.mask);
    return Status::Ok;
}

} // namespace

Status decodeIco(std::span<const unsigned char> bytes, int widthPx, int heightPx, Icon& out) {
    const ByteReader r(bytes);
    std::uint16_t reserved = 1, type = 0, count = 0;
    if (!r.u16(0, reserved) || !r.u16(2, type) || !r.u16(4, count)) return fail(Status::BadInput);
    if (reserved != 0 || (type != 1 && type != 2) || count == 0) return fail(Status::BadInput);
    if (!r.has(kDirHeaderBytes, kDirEntryBytes * count)) return fail(Status::BadInput);

    std::vector<Entry> entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i) {
        const unsigned char* e = r.data() + kDirHeaderBytes + kDirEntryBytes * std::uint64_t(i);
        Entry entry{e[0] ? e[0] : 256, e[1] ? e[1] : 256, 0, loadU32(e + 8), loadU32(e + 12), {0, 0}, i};
        if (type == 2) {
            entry.hotspot = POINT{loadU16(e + 4), loadU16(e + 6)};
        } else {
            entry.bits = loadU16(e + 6);
            // Old writers leave the bit count 0 and give the number of colours instead.
            if (entry.bits == 0 && e[2]) entry.bits = e[2] <= 2 ? 1 : e[2] <= 16 ? 4 : 8;
        }
        if (r.has(entry.offset, entry.bytes) && entry.bytes > 0) entries.push_back(entry);
    }
    if (entries.empty()) return fail(Status::BadInput);

    const int wantW = widthPx > 0 ? widthPx : kSystemIconSide;
    const int wantH = heightPx > 0 ? heightPx : kSystemIconSide;
    const auto distance = [&](const Entry& e) {
        return std::abs(e.width - wantW) + std::abs(e.height - wantH);
    };
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        if (distance(a) != distance(b)) return distance(a) < distance(b);
        if (a.width * a.height != b.width * b.height) return a.width * a.height > b.width * b.height;
        return a.bits > b.bits;
    });

    Status first = Status::BadInput;
    for (const Entry& e : entries) {
        Icon icon;
        Status st = decodeImage(r.sub(e.offset, e.bytes), icon);
        if (st == Status::Ok) st = resizeTo(icon.color, widthPx, heightPx);
        if (st == Status::Ok) st = resizeTo(icon.mask, widthPx, heightPx);
        if (st == Status::Ok) {
            icon.hotspot = e.hotspot;
            out = std::move(icon);
            return Status::Ok;
        }
        if (e.index == entries.front().index) first = st;
    }
    return first;
}

bool adoptIcon(Icon&& icon, CBitmap& color, CBitmap& mask) noexcept {
    if (color.isCreated() || mask.isCreated()) return false;
    return guarded([&] {
               auto c = std::make_shared<Surface>(std::move(icon.color));
               auto m = std::make_shared<Surface>(std::move(icon.mask));
               if (!color.adopt(std::move(c))) return fail(Status::BadInput);
               if (!mask.adopt(std::move(m))) {
                   color.DeleteObject();
                   return fail(Status::BadInput);
               }
               return Status::Ok;
           }) == Status::Ok;
}

} // namespace detail

bool iconRead(CBitmap& color, CBitmap& mask, const wchar_t* path, int widthPx, int heightPx) noexcept {
    if (color.isCreated() || mask.isCreated() || widthPx < 0 || heightPx < 0) return false;
    detail::Icon icon;
    const detail::Status st = detail::guarded([&] {
        std::vector<unsigned char> bytes;
        if (!detail::readFileBytes(path, detail::kMaxImageFileBytes, bytes))
            return detail::fail(detail::Status::BadInput);
        return detail::decodeIco(bytes, widthPx, heightPx, icon);
    });
    return st == detail::Status::Ok && detail::adoptIcon(std::move(icon), color, mask);
}

} // namespace QOR
