#include "qor/platform/emf/metafile.h"

#include "qor/kernel/base/status.h"
#include "qor/platform/emf/emf_records_p.h"
#include "qor/platform/file_io_p.h"
#include "qor/platform/le_bytes_p.h"

namespace {

using namespace QOR::detail;

/// Metafiles are bounded well below the 4 GiB their size field could state.
constexpr std::size_t kMaxMetafileBytes = std::size_t{1} << 30;

RECT readRect(const ByteReader& r, std::uint64_t at) {
    RECT out{0, 0, 0, 0};
    r.i32(at, out.left);
    r.i32(at + 4, out.top);
    r.i32(at + 8, out.right);
    r.i32(at + 12, out.bottom);
    return out;
}

bool validHeader(std::span<const unsigned char> bytes) {
    const ByteReader r(bytes);
    std::uint32_t type = 0, size = 0, signature = 0, total = 0;
    if (!r.u32(0, type) || !r.u32(4, size) || !r.u32(40, signature) || !r.u32(48, total)) return false;
    return type == emf::kHeader && signature == emf::kSignature && size >= emf::kMinHeaderBytes &&
           size % 4 == 0 && size <= total && total <= bytes.size();
}

} // namespace

CEnhMetaFile::CEnhMetaFile(CEnhMetaFile&& other) noexcept : m_bytes(std::move(other.m_bytes)) {
    other.m_bytes.clear();
}

CEnhMetaFile& CEnhMetaFile::operator=(CEnhMetaFile&& other) noexcept {
    if (this != &other) {
        m_bytes = std::move(other.m_bytes);
        other.m_bytes.clear();
    }
    return *this;
}

CEnhMetaFile::~CEnhMetaFile() = default;

CEnhMetaFile CEnhMetaFile::fromBytes(std::span<const unsigned char> bytes) noexcept {
    if (!validHeader(bytes)) return CEnhMetaFile();
    std::vector<unsigned char> copy;
    const Status st = guarded([&] {
        copy.assign(bytes.begin(), bytes.begin() + loadU32(bytes.data() + 48));
        return Status::Ok;
    });
    return st == Status::Ok ? CEnhMetaFile(std::move(copy)) : CEnhMetaFile();
}

bool CEnhMetaFile::header(EnhMetaHeader& info) const noexcept {
    if (isNull()) return false;
    const ByteReader r(m_bytes);
    info.bounds = readRect(r, 8);
    info.frameHimm = readRect(r, 24);
    r.u32(48, info.bytes);
    r.u32(52, info.records);
    r.u16(56, info.handles);
    r.i32(72, info.devicePx.cx);
    r.i32(76, info.devicePx.cy);
    r.i32(80, info.deviceMm.cx);
    r.i32(84, info.deviceMm.cy);
    return true;
}

HENHMETAFILE GetEnhMetaFileW(const wchar_t* lpszMetaFile) noexcept {
    std::vector<unsigned char> bytes;
    const Status st = guarded([&] {
        return readFileBytes(lpszMetaFile, kMaxMetafileBytes, bytes) ? Status::Ok : fail(Status::BadInput);
    });
    return st == Status::Ok ? CEnhMetaFile::fromBytes(bytes) : CEnhMetaFile();
}

HENHMETAFILE CopyEnhMetaFileW(const HENHMETAFILE& hemf, const wchar_t* lpszFile) noexcept {
    if (hemf.isNull()) return CEnhMetaFile();
    if (lpszFile) {
        const Status st = guarded([&] {
            AtomicFile file;
            std::FILE* f = file.open(lpszFile);
            if (!f) return fail(Status::BadInput);
            if (std::fwrite(hemf.bytes().data(), 1, hemf.bytes().size(), f) != hemf.bytes().size())
                return fail(Status::BadInput);
            return file.commit() ? Status::Ok : fail(Status::BadInput);
        });
        if (st != Status::Ok) return CEnhMetaFile();
    }
    return CEnhMetaFile::fromBytes(hemf.bytes());
}

BOOL DeleteEnhMetaFile(HENHMETAFILE& hemf) noexcept {
    if (hemf.isNull()) return FALSE;
    hemf = CEnhMetaFile();
    return TRUE;
}
