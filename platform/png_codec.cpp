#include "qor/platform/png_codec.h"

#include <csetjmp>
#include <cstring>
#include <png.h>

#include "qor/platform/file_io_p.h"

namespace QOR {

namespace {

using detail::Status;
using detail::Surface;

// libpng reports errors by longjmp. Every function below that calls libpng creates all its objects with
// destructors before setjmp, so the jump skips no destructor, and returns at once after a jump.
[[noreturn]] void onError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void onWarning(png_structp, png_const_charp) {}

struct ReadGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~ReadGuard() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

struct WriteGuard {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~WriteGuard() {
        if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    }
};

struct Input {
    const unsigned char* data;
    std::size_t size;
    std::size_t pos;
};

void readBytes(png_structp png, png_bytep out, png_size_t count) {
    auto* in = static_cast<Input*>(png_get_io_ptr(png));
    if (count > in->size - in->pos) png_error(png, "truncated");
    std::memcpy(out, in->data + in->pos, count);
    in->pos += count;
}

// Reads into a surface created before the jump point. Returns the status of the libpng part only.
Status decodeInto(std::span<const unsigned char> bytes, Surface& out, std::vector<unsigned char>* alpha,
                  std::vector<unsigned char>& buffer) {
    ReadGuard g;
    Input input{bytes.data(), bytes.size(), 0};
    g.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!g.png) return detail::fail(Status::NoMemory);
    g.info = png_create_info_struct(g.png);
    if (!g.info) return detail::fail(Status::NoMemory);
    volatile Status failure = Status::BadInput;
    if (setjmp(png_jmpbuf(g.png))) return detail::fail(failure);

    png_set_read_fn(g.png, &input, readBytes);
    png_set_user_limits(g.png, Surface::kMaxSide, Surface::kMaxSide);
    png_read_info(g.png, g.info);
    const png_uint_32 width = png_get_image_width(g.png, g.info);
    const png_uint_32 height = png_get_image_height(g.png, g.info);
    const int colorType = png_get_color_type(g.png, g.info);
    const int depth = png_get_bit_depth(g.png, g.info);
    // Deflate expands at most 1032 times, so an image whose rows need more than that many times the input
    // cannot be complete: refuse it before allocating its pixels.
    const double rawBytes = double(height) * (1.0 + double(png_get_rowbytes(g.png, g.info)));
    if (rawBytes > 1032.0 * double(bytes.size())) return detail::fail(Status::BadInput);
    const bool mono =
        colorType == PNG_COLOR_TYPE_GRAY && depth == 1 && !png_get_valid(g.png, g.info, PNG_INFO_tRNS);
    if (!mono) {
        png_set_expand(g.png);
        png_set_strip_16(g.png);
        png_set_gray_to_rgb(g.png);
        png_set_add_alpha(g.png, 0xFF, PNG_FILLER_AFTER);
    }
    const int passes = png_set_interlace_handling(g.png);
    png_read_update_info(g.png, g.info);
    const std::size_t rowBytes = png_get_rowbytes(g.png, g.info);
    if (rowBytes != (mono ? (std::size_t(width) + 7) / 8 : std::size_t(width) * 4))
        return detail::fail(Status::BadInput);

    failure = Status::TooLarge;
    const Status created = out.create(int(width), int(height), mono ? 1 : 32);
    if (created != Status::Ok) return created;
    // Interlaced images need the whole image at once; others go row by row.
    const std::size_t rows = passes > 1 ? height : 1;
    failure = Status::NoMemory;
    buffer.resize(rowBytes * rows); // may throw; the guard still frees libpng's structs
    failure = Status::BadInput;
    if (passes > 1) {
        for (int pass = 0; pass < passes; ++pass)
            for (png_uint_32 y = 0; y < height; ++y)
                png_read_row(g.png, buffer.data() + rowBytes * y, nullptr);
    }
    if (alpha) alpha->assign(std::size_t(width) * height, 255);
    for (png_uint_32 y = 0; y < height; ++y) {
        unsigned char* row = buffer.data() + (passes > 1 ? rowBytes * y : 0);
        if (passes <= 1) png_read_row(g.png, row, nullptr);
        if (mono) {
            std::memcpy(out.row1(int(y)), row, rowBytes);
            continue;
        }
        std::uint32_t* dst = out.row32(int(y));
        for (png_uint_32 x = 0; x < width; ++x) {
            const unsigned char* p = row + 4 * x;
            dst[x] = (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
            if (alpha) (*alpha)[std::size_t(y) * width + x] = p[3];
        }
    }
    return Status::Ok;
}

void appendBytes(png_structp png, png_bytep data, png_size_t count) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    // A failed allocation must not unwind through libpng's C frames: it becomes libpng's own error.
    try {
        out->insert(out->end(), data, data + count);
    } catch (...) {
        png_error(png, "out of memory");
    }
}

void flushNothing(png_structp) {}

/// Encodes s into file, or appended to memory when file is null.
bool encodeTo(const Surface& s, std::FILE* file, std::vector<unsigned char>* memory,
              std::vector<unsigned char>& row) {
    WriteGuard g;
    g.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!g.png) return false;
    g.info = png_create_info_struct(g.png);
    if (!g.info) return false;
    row.resize(s.isMono() ? (std::size_t(s.width) + 7) / 8 : std::size_t(s.width) * 3);
    if (setjmp(png_jmpbuf(g.png))) return false;
    if (file)
        png_init_io(g.png, file);
    else
        png_set_write_fn(g.png, memory, appendBytes, flushNothing);
    png_set_IHDR(g.png, g.info, png_uint_32(s.width), png_uint_32(s.height), s.isMono() ? 1 : 8,
                 s.isMono() ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(g.png, g.info);
    for (int y = 0; y < s.height; ++y) {
        if (s.isMono()) {
            std::memcpy(row.data(), s.row1(y), row.size());
        } else {
            const std::uint32_t* src = s.row32(y);
            for (int x = 0; x < s.width; ++x) {
                row[std::size_t(3 * x)] = (unsigned char)(src[x] >> 16);
                row[std::size_t(3 * x + 1)] = (unsigned char)(src[x] >> 8);
                row[std::size_t(3 * x + 2)] = (unsigned char)src[x];
            }
        }
        png_write_row(g.png, row.data());
    }
    png_write_end(g.png, nullptr);
    return true;
}

} // namespace

namespace detail {

Status decodePng(std::span<const unsigned char> bytes, Surface& surface, std::vector<unsigned char>* alpha) {
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) return fail(Status::BadInput);
    return guarded([&] {
        Surface decoded;
        std::vector<unsigned char> buffer;
        const Status st = decodeInto(bytes, decoded, alpha, buffer);
        if (st == Status::Ok) surface = std::move(decoded);
        return st;
    });
}

Status encodePng(const Surface& surface, std::vector<unsigned char>& out) {
    if (surface.width <= 0 || surface.height <= 0) return fail(Status::BadInput);
    return guarded([&] {
        std::vector<unsigned char> encoded, row;
        if (!encodeTo(surface, nullptr, &encoded, row)) return fail(Status::NoMemory);
        out.insert(out.end(), encoded.begin(), encoded.end());
        return Status::Ok;
    });
}

} // namespace detail

bool bitmapWritePng(const CBitmap& bitmap, const wchar_t* path) noexcept {
    const Surface* s = bitmap.surface().get();
    if (!s || !path) return false;
    return detail::guarded([&] {
               detail::AtomicFile file;
               std::FILE* f = file.open(path);
               std::vector<unsigned char> row;
               if (!f || !encodeTo(*s, f, nullptr, row) || !file.commit())
                   return detail::fail(Status::BadInput);
               return Status::Ok;
           }) == Status::Ok;
}

bool bitmapReadPng(CBitmap& bitmap, const wchar_t* path) noexcept {
    if (bitmap.isCreated()) return false;
    return detail::guarded([&] {
               std::vector<unsigned char> bytes;
               // A PNG of the largest accepted bitmap compresses far below this; more is not a PNG we take.
               if (!detail::readFileBytes(path, std::size_t(1) << 30, bytes))
                   return detail::fail(Status::BadInput);
               auto surface = std::make_shared<Surface>();
               const Status st = detail::decodePng(bytes, *surface, nullptr);
               if (st != Status::Ok) return st;
               return bitmap.adopt(std::move(surface)) ? Status::Ok : detail::fail(Status::BadInput);
           }) == Status::Ok;
}

} // namespace QOR
