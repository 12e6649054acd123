#include "qor/platform/emf/emf_player.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "qor/platform/device_coord_p.h"
#include "qor/platform/dib_p.h"
#include "qor/platform/emf/emf_records_p.h"
#include "qor/platform/le_bytes_p.h"
#include "qor/platform/raster/raster_dc.h"

namespace {

using QOR::detail::ByteReader;
using QOR::detail::Status;
using QOR::detail::Surface;
namespace emf = QOR::detail::emf;

/// The largest bitmap a record may ask to be resampled to: a record cannot make the player allocate
/// more than 64 MiB.
constexpr std::int64_t kMaxBlitPixels = std::int64_t{1} << 24;

/// Recorded device coordinates to the DC's (see "Placement" in emf_player.h).
struct Placement {
    bool identity = true;
    double scaleX = 1, scaleY = 1;
    std::int64_t fromX = 0, fromY = 0, toX = 0, toY = 0;

    POINT map(std::int64_t x, std::int64_t y) const {
        if (identity) return POINT{QOR::clampDevice(x), QOR::clampDevice(y)};
        return POINT{QOR::deviceCoord(std::floor(double(toX) + double(x - fromX) * scaleX + 0.5)),
                     QOR::deviceCoord(std::floor(double(toY) + double(y - fromY) * scaleY + 0.5))};
    }
    RECT map(const RECT& r) const {
        const POINT a = map(r.left, r.top), b = map(r.right, r.bottom);
        return RECT{a.x, a.y, b.x, b.y};
    }
    int width(std::int64_t w) const {
        if (identity) return int(std::clamp<std::int64_t>(w, 0, QOR::kDeviceLimit));
        return QOR::deviceCoord(std::max(0.0, std::floor(double(w) * (scaleX + scaleY) / 2 + 0.5)));
    }
};

RECT readRect(const ByteReader& r, std::uint64_t at) {
    std::int32_t v[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i)
        r.i32(at + 4 * std::uint64_t(i), v[i]);
    return RECT{v[0], v[1], v[2], v[3]};
}

class Player {
public:
    Player(CDC& dc, const Placement& placement, int handles) : m_dc(dc), m_place(placement) {
        m_objects.resize(std::size_t(handles));
    }

    /// Plays the records after the header; true when the end record was reached.
    bool run(const ByteReader& all, std::uint32_t start, std::uint32_t total) {
        RECT box;
        if (m_dc.GetClipBox(&box) == RGN_ERROR) return false;
        m_metaBox.CreateRectRgnIndirect(&box);
        for (std::uint64_t at = start; at + 8 <= total;) {
            std::uint32_t type = 0, size = 0;
            all.u32(at, type);
            all.u32(at + 4, size);
            if (size < 8 || size % 4 != 0 || size > total - at) return false;
            if (type == emf::kEof) return true;
            play(type, ByteReader(all.sub(at, size)));
            at += size;
        }
        return false;
    }

private:
    void play(std::uint32_t type, const ByteReader& r);
    void playPolys(std::uint32_t type, const ByteReader& r);
    void playBitmap(const ByteReader& r, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                    std::uint32_t cbBits, RECT src, POINT dst, SIZE dstSize, DWORD rop);
    bool readRegion(const ByteReader& r, std::uint64_t at, std::uint64_t bytes, CRgn& out);
    void selectClip(CRgn* region, int mode);
    CGdiObject* object(std::uint32_t handle) const;
    /// The object slot a create record names, or null for index 0 and indices past the table.
    std::unique_ptr<CGdiObject>* slot(std::uint32_t handle) {
        return handle > 0 && handle < m_objects.size() ? &m_objects[handle] : nullptr;
    }

    CDC& m_dc;
    Placement m_place;
    std::vector<std::unique_ptr<CGdiObject>> m_objects;
    CRgn m_metaBox;
    int m_saveDepth = 0;
    std::vector<POINT> m_points;
    std::vector<int> m_counts;
    std::vector<RECT> m_rects;
};

CGdiObject* Player::object(std::uint32_t handle) const {
    if (handle & emf::kStockObjectFlag) {
        const int index = int(handle & ~emf::kStockObjectFlag);
        if (CPen* pen = CPen::stock(index)) return pen;
        return CBrush::stock(index);
    }
    return handle < m_objects.size() ? m_objects[handle].get() : nullptr;
}

/// Union of rects by merging pairs, so n rects cost n log n region merges rather than n^2.
bool unionOfRects(std::span<const RECT> rects, CRgn& out) {
    if (rects.empty()) return out.CreateRectRgn(0, 0, 0, 0);
    std::vector<std::unique_ptr<CRgn>> level;
    level.reserve(rects.size());
    for (const RECT& r : rects) {
        auto g = std::make_unique<CRgn>();
        if (!g->CreateRectRgn(r.left, r.top, r.right, r.bottom)) return false;
        level.push_back(std::move(g));
    }
    while (level.size() > 1) {
        std::vector<std::unique_ptr<CRgn>> next;
        next.reserve((level.size() + 1) / 2);
        for (std::size_t i = 0; i < level.size(); i += 2) {
            if (i + 1 == level.size()) {
                next.push_back(std::move(level[i]));
                continue;
            }
            auto merged = std::make_unique<CRgn>();
            if (merged->CombineRgn(level[i].get(), level[i + 1].get(), RGN_OR) == RGN_ERROR) return false;
            next.push_back(std::move(merged));
        }
        level = std::move(next);
    }
    return out.CopyRgn(level[0].get()) != RGN_ERROR;
}

bool Player::readRegion(const ByteReader& r, std::uint64_t at, std::uint64_t bytes, CRgn& out) {
    std::uint32_t headerBytes = 0, kind = 0, count = 0;
    if (bytes < emf::kRgnHeaderBytes || !r.u32(at, headerBytes) || !r.u32(at + 4, kind) ||
        !r.u32(at + 8, count))
        return false;
    if (kind != emf::kRgnRectangles || headerBytes < emf::kRgnHeaderBytes || headerBytes > bytes)
        return false;
    if (std::uint64_t(count) * 16 > bytes - headerBytes || !r.has(at, bytes)) return false;
    m_rects.clear();
    for (std::uint32_t i = 0; i < count; ++i) {
        RECT rc = m_place.map(readRect(r, at + headerBytes + 16 * std::uint64_t(i)));
        if (rc.right > rc.left && rc.bottom > rc.top) m_rects.push_back(rc);
    }
    return unionOfRects(m_rects, out);
}

void Player::selectClip(CRgn* region, int mode) {
    if (mode == RGN_COPY) {
        if (!region) {
            m_dc.SelectClipRgn(&m_metaBox);
            return;
        }
        CRgn cut;
        if (cut.CombineRgn(region, &m_metaBox, RGN_AND) != RGN_ERROR) m_dc.SelectClipRgn(&cut);
        return;
    }
    if (!region || m_dc.ExtSelectClipRgn(region, mode) == RGN_ERROR) return;
    m_dc.ExtSelectClipRgn(&m_metaBox, RGN_AND);
}

void Player::playPolys(std::uint32_t type, const ByteReader& r) {
    emf::PolyRecord poly;
    if (!poly.read(type, r)) return;
    m_counts.clear();
    for (std::uint32_t k = 0; k < poly.figures(); ++k)
        m_counts.push_back(int(std::min<std::uint32_t>(poly.figureSize(k), INT32_MAX)));
    m_points.resize(poly.pointCount());
    for (std::uint32_t i = 0; i < poly.pointCount(); ++i) {
        const POINT p = poly.point(i);
        m_points[i] = m_place.map(p.x, p.y);
    }
    if (poly.isPolyline())
        m_dc.Polyline(m_points.data(), int(m_points.size()));
    else
        m_dc.PolyPolygon(m_points.data(), m_counts.data(), int(m_counts.size()));
}

void Player::playBitmap(const ByteReader& r, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                        std::uint32_t cbBits, RECT src, POINT dst, SIZE dstSize, DWORD rop) {
    const POINT a = m_place.map(dst.x, dst.y);
    const POINT b = m_place.map(std::int64_t(dst.x) + dstSize.cx, std::int64_t(dst.y) + dstSize.cy);
    const std::int64_t dw = std::int64_t(b.x) - a.x, dh = std::int64_t(b.y) - a.y;
    if (dw <= 0 || dh <= 0 || dw * dh > kMaxBlitPixels) return;
    auto block = std::make_shared<Surface>();
    if (!emf::readBitmapBlock(r, offBmi, cbBmi, offBits, cbBits, src, *block)) return;
    if (dw != block->width || dh != block->height) {
        auto scaled = std::make_shared<Surface>();
        if (QOR::detail::scaleNearest(*block, int(dw), int(dh), *scaled) != Status::Ok) return;
        block = std::move(scaled);
    }
    CBitmap bitmap;
    CRasterDC memory;
    if (!bitmap.adopt(std::move(block)) || !memory.CreateCompatibleDC(&m_dc)) return;
    memory.SelectObject(&bitmap);
    m_dc.BitBlt(a.x, a.y, int(dw), int(dh), &memory, 0, 0, rop);
}

void Player::play(std::uint32_t type, const ByteReader& r) {
    emf::RecordFields f(r);
    switch (type) {
    case emf::kSetPixelV:
        if (f.read(3)) m_dc.SetPixelV(m_place.map(f.i(0), f.i(1)), f.u[2]);
        break;
    case emf::kSetBkMode:
        if (f.read(1)) m_dc.SetBkMode(f.i(0));
        break;
    case emf::kSetPolyFillMode:
        if (f.read(1)) m_dc.SetPolyFillMode(f.i(0));
        break;
    case emf::kSetTextColor:
        if (f.read(1)) m_dc.SetTextColor(f.u[0]);
        break;
    case emf::kSetBkColor:
        if (f.read(1)) m_dc.SetBkColor(f.u[0]);
        break;
    case emf::kMoveToEx:
        if (f.read(2)) m_dc.MoveTo(m_place.map(f.i(0), f.i(1)));
        break;
    case emf::kLineTo:
        if (f.read(2)) m_dc.LineTo(m_place.map(f.i(0), f.i(1)));
        break;
    case emf::kPolygon16:
    case emf::kPolyline16:
    case emf::kPolyPolygon16:
    case emf::kPolygon:
    case emf::kPolyline:
    case emf::kPolyPolygon:
        playPolys(type, r);
        break;
    case emf::kEllipse:
    case emf::kRectangle:
        if (f.read(4)) {
            const RECT box = m_place.map(readRect(r, 8));
            if (type == emf::kEllipse)
                m_dc.Ellipse(&box);
            else
                m_dc.Rectangle(&box);
        }
        break;
    case emf::kCreatePen:
        if (f.read(5)) {
            if (auto* s = slot(f.u[0])) {
                auto pen = std::make_unique<CPen>();
                // Dashed pens of other writers are drawn solid: this library lays dashes out itself.
                const int style = (f.u[1] & 0xF) == PS_NULL ? PS_NULL : PS_SOLID;
                if (pen->CreatePen(style, m_place.width(f.i(2)), f.u[4])) *s = std::move(pen);
            }
        }
        break;
    case emf::kCreateBrushIndirect:
        if (f.read(3)) {
            if (auto* s = slot(f.u[0])) {
                auto brush = std::make_unique<CBrush>();
                const bool ok = f.u[1] == BS_NULL ? brush->CreateStockObject(NULL_BRUSH)
                                                  : brush->CreateSolidBrush(f.u[2]);
                if (ok) *s = std::move(brush);
            }
        }
        break;
    case emf::kSelectObject:
        if (f.read(1)) {
            CGdiObject* o = object(f.u[0]);
            if (auto* pen = dynamic_cast<CPen*>(o)) m_dc.SelectObject(pen);
            if (auto* brush = dynamic_cast<CBrush*>(o)) m_dc.SelectObject(brush);
        }
        break;
    case emf::kDeleteObject:
        if (f.read(1))
            if (auto* s = slot(f.u[0])) s->reset();
        break;
    case emf::kFillRgn:
    case emf::kPaintRgn: {
        const bool fill = type == emf::kFillRgn;
        if (!f.read(fill ? 2 : 1, 24)) break;
        CBrush* brush = fill ? dynamic_cast<CBrush*>(object(f.u[1])) : m_dc.GetCurrentBrush();
        CRgn region;
        if (!brush || !readRegion(r, fill ? 32 : 28, f.u[0], region)) break;
        for (const RECT& rc : m_rects)
            m_dc.FillRect(&rc, brush);
        break;
    }
    case emf::kExtSelectClipRgn:
        if (f.read(2)) {
            CRgn region;
            if (f.u[0] == 0)
                selectClip(nullptr, int(f.u[1]));
            else if (readRegion(r, 16, f.u[0], region))
                selectClip(&region, int(f.u[1]));
        }
        break;
    case emf::kIntersectClipRect:
    case emf::kExcludeClipRect:
        if (f.read(4)) {
            const RECT rc = m_place.map(readRect(r, 8));
            CRgn region;
            if (region.CreateRectRgnIndirect(&rc))
                selectClip(&region, type == emf::kIntersectClipRect ? RGN_AND : RGN_DIFF);
        }
        break;
    case emf::kSaveDc:
        if (m_dc.SaveDC()) ++m_saveDepth;
        break;
    case emf::kRestoreDc:
        // Only levels the metafile saved itself: the player's own saved state stays below them.
        if (f.read(1) && f.i(0) < 0 && -std::int64_t(f.i(0)) <= m_saveDepth && m_dc.RestoreDC(f.i(0)))
            m_saveDepth += f.i(0);
        break;
    case emf::kBitBlt:
        // Bounds, destination x, y, cx, cy, ROP, source x, y, transform (6 words), background, usage,
        // then offsets and sizes of the bitmap.
        if (f.read(19, 24)) {
            const POINT dst{f.i(0), f.i(1)};
            const SIZE size{f.i(2), f.i(3)};
            if (f.u[16] == 0) {
                const RECT rc = m_place.map(RECT{dst.x, dst.y, dst.x + size.cx, dst.y + size.cy});
                m_dc.BitBlt(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, nullptr, 0, 0, f.u[4]);
            } else {
                playBitmap(r, f.u[15], f.u[16], f.u[17], f.u[18], RECT{f.i(5), f.i(6), size.cx, size.cy}, dst,
                           size, f.u[4]);
            }
        }
        break;
    case emf::kStretchDiBits:
        // Bounds, destination x, y, source x, y, cx, cy, offsets and sizes, usage, ROP, destination cx, cy.
        if (f.read(14, 24))
            playBitmap(r, f.u[6], f.u[7], f.u[8], f.u[9], RECT{f.i(2), f.i(3), f.i(4), f.i(5)},
                       POINT{f.i(0), f.i(1)}, SIZE{f.i(12), f.i(13)}, f.u[11]);
        break;
    default:
        break;
    }
}

} // namespace

BOOL PlayEnhMetaFile(CDC* pDC, const HENHMETAFILE& hemf, const RECT* lpRect) noexcept {
    EnhMetaHeader header{};
    if (!pDC || !pDC->isCreated() || !hemf.header(header)) return FALSE;
    Placement place;
    if (lpRect) {
        // The frame's pixel box at the reference device's resolution.
        const double pxPerHimmX = header.deviceMm.cx > 0 && header.devicePx.cx > 0
                                      ? double(header.devicePx.cx) / (header.deviceMm.cx * 100.0)
                                      : 1.0 / emf::kHimmPerPx;
        const double pxPerHimmY = header.deviceMm.cy > 0 && header.devicePx.cy > 0
                                      ? double(header.devicePx.cy) / (header.deviceMm.cy * 100.0)
                                      : 1.0 / emf::kHimmPerPx;
        const RECT& f = header.frameHimm;
        const std::int64_t l = std::llround(f.left * pxPerHimmX), t = std::llround(f.top * pxPerHimmY);
        const std::int64_t r = std::llround((std::int64_t(f.right) + 1) * pxPerHimmX);
        const std::int64_t b = std::llround((std::int64_t(f.bottom) + 1) * pxPerHimmY);
        if (r <= l || b <= t) return FALSE;
        place.identity = false;
        place.fromX = l;
        place.fromY = t;
        place.toX = lpRect->left;
        place.toY = lpRect->top;
        place.scaleX = double(std::int64_t(lpRect->right) - lpRect->left) / double(r - l);
        place.scaleY = double(std::int64_t(lpRect->bottom) - lpRect->top) / double(b - t);
        if (place.scaleX == 1.0 && place.scaleY == 1.0 && l == lpRect->left && t == lpRect->top)
            place.identity = true;
    }
    const int level = pDC->SaveDC();
    if (level == 0) return FALSE;
    Status st = QOR::detail::guarded([&] {
        pDC->SelectStockObject(BLACK_PEN);
        pDC->SelectStockObject(WHITE_BRUSH);
        pDC->SetBkColor(RGB(255, 255, 255));
        pDC->SetTextColor(RGB(0, 0, 0));
        pDC->SetBkMode(OPAQUE);
        pDC->SetPolyFillMode(ALTERNATE);
        pDC->MoveTo(0, 0);
        std::uint32_t headerBytes = 0;
        const ByteReader all(hemf.bytes());
        all.u32(4, headerBytes);
        Player player(*pDC, place, header.handles);
        return player.run(all, headerBytes, header.bytes) ? Status::Ok : QOR::detail::fail(Status::BadInput);
    });
    pDC->RestoreDC(level);
    return st == Status::Ok ? TRUE : FALSE;
}
