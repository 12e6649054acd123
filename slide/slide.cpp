#include "qor/slide/slide.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cwctype>
#include <limits>

#include "qor/kernel/base/color.h"
#include "qor/kernel/base/status.h"
#include "qor/platform/clipboard.h"
#include "qor/platform/device_coord_p.h"
#include "qor/platform/emf/emf_dc.h"
#include "qor/platform/resources.h"
#include "qor/slide/slide_library_p.h"
#include "qor/slide/slide_reader_p.h"

namespace QOR {

namespace {

constexpr int kIndexWhite = 7;
constexpr int kIndexBlack = 0;

/// The resource type named by a MAKEINTRESOURCE-style pointer or a type name; -1 for none.
int resourceType(const wchar_t* type) noexcept {
    const auto value = reinterpret_cast<std::uintptr_t>(type);
    if (value <= 0xFFFF) return int(value);
    const wchar_t* const name = L"SLD";
    for (int i = 0;; ++i) {
        if (std::towupper(wint_t(type[i])) != wint_t(name[i])) return -1;
        if (name[i] == 0) return RT_SLIDE;
    }
}

} // namespace

CSlide::CSlide() noexcept {
    m_pen.CreatePen(PS_SOLID, 1, acadRGB(kIndexWhite));
    m_brush.CreateSolidBrush(acadRGB(kIndexWhite));
    m_backBrush.CreateSolidBrush(acadRGB(m_backIndex));
    m_neutralBrush.CreateSolidBrush(kSlideNeutralColor);
}

CSlide::~CSlide() = default;

void CSlide::replaceData(std::vector<unsigned char>&& bytes) noexcept {
    m_data = std::move(bytes);
    invalidate();
}

bool CSlide::show(const wchar_t* slide, const wchar_t* library) noexcept {
    std::vector<unsigned char> bytes;
    detail::loadSlideBytes(slide, library, bytes);
    replaceData(std::move(bytes));
    return hasData();
}

void CSlide::show(const void* data, int size) noexcept {
    replaceData(detail::copySlideBytes(data, size));
}

bool CSlide::LoadSlide(DWORD id, const wchar_t* type) noexcept {
    const int kind = resourceType(type);
    if (kind < 0 || id > 0xFFFF) return false;
    const std::span<const unsigned char> bytes = resourceFind(kind, int(id));
    if (bytes.empty()) return false;
    if (bytes.size() > std::size_t(INT32_MAX)) return false;
    show(bytes.data(), int(bytes.size()));
    return hasData();
}

int CSlide::level() const noexcept {
    if (!hasData()) return 0;
    detail::SlideHeader header;
    detail::readSlideHeader(m_data, header);
    return header.level;
}

bool CSlide::getSize(long& width, long& height) const noexcept {
    if (!hasData()) return false;
    detail::SlideHeader header;
    detail::readSlideHeader(m_data, header);
    width = header.width;
    height = header.height;
    return true;
}

int CSlide::SetBkColor(int index) noexcept {
    m_backIndex = index;
    m_backBrush.DeleteObject();
    m_backBrush.CreateSolidBrush(acadRGB(index));
    return 1;
}

COLORREF CSlide::colorOf(int index) const noexcept {
    if (index == kIndexWhite && m_backIndex == kIndexWhite) index = kIndexBlack;
    return acadRGB(index);
}

void CSlide::newColor(CDC& dc, int index) noexcept {
    const COLORREF color = colorOf(index);
    // The DC keeps a copy of what is selected, so the objects can be replaced while selected.
    m_pen.DeleteObject();
    m_pen.CreatePen(PS_SOLID, 1, color);
    m_brush.DeleteObject();
    m_brush.CreateSolidBrush(color);
    dc.SelectObject(&m_pen);
    dc.SelectObject(&m_brush);
}

void CSlide::setCoordSystem(const CRect& rect, int width, int height) noexcept {
    const double w = double(rect.Width()) - 1.0;
    const double h = double(rect.Height()) - 1.0;
    // A slide of zero width or height scales by its other side alone; one without either by 1.
    constexpr double kAny = std::numeric_limits<double>::infinity();
    m_scale = std::min(width > 0 ? w / width : kAny, height > 0 ? h / height : kAny);
    if (m_scale == kAny) m_scale = 1.0;
    m_offsetX = deviceCoord(w - m_scale * width) >> 1;
    m_offsetY = deviceCoord(h - m_scale * height) >> 1;
    m_height = height;
}

POINT CSlide::trans(int x, int y) const noexcept {
    return {deviceCoord(x * m_scale + m_offsetX), deviceCoord((m_height - y) * m_scale + m_offsetY)};
}

bool CSlide::draw(CDC* dc, const CRect& rect) noexcept {
    if (!dc || !hasData()) return false;
    detail::SlideHeader header;
    if (!detail::readSlideHeader(m_data, header)) return false;
    const int saved = dc->SaveDC();
    const bool drawn = detail::guarded(false, [&] { return drawRecords(*dc, rect, header); });
    if (saved > 0) dc->RestoreDC(saved);
    return drawn;
}

bool CSlide::drawRecords(CDC& dc, const CRect& rect, const detail::SlideHeader& header) {
    setCoordSystem(rect, header.width, header.height);
    detail::SlideRecordReader reader(m_data, header);
    detail::SlideRecord record;
    while (reader.next(record)) {
        switch (record.kind) {
        case detail::SlideRecordKind::Vector: {
            const POINT from = trans(record.from.x, record.from.y);
            const POINT to = trans(record.to.x, record.to.y);
            dc.MoveTo(from);
            dc.LineTo(to);
            break;
        }
        case detail::SlideRecordKind::Fill:
            m_points.clear();
            for (const detail::SlidePoint& p : record.polygon)
                m_points.push_back(trans(p.x, p.y));
            dc.Polygon(m_points.data(), int(m_points.size()));
            break;
        case detail::SlideRecordKind::Color:
            newColor(dc, record.color);
            break;
        }
    }
    return true;
}

bool CSlide::paint(CDC* dc, const CRect& client, bool transparent) noexcept {
    if (!dc) return false;
    // The background brush stays selected for the slide: fills before the first colour record use it.
    const int saved = dc->SaveDC();
    if (!transparent) {
        dc->SelectObject(hasData() ? &m_backBrush : &m_neutralBrush);
        dc->Rectangle(&client);
    }
    const bool drawn = draw(dc, client);
    if (saved > 0) dc->RestoreDC(saved);
    return drawn;
}

HENHMETAFILE CSlide::CreateEnhMetaFileW(CRect rect) noexcept {
    const int backIndex = m_backIndex;
    m_backIndex = kIndexWhite;
    CMetaFileDC dc;
    HENHMETAFILE metafile;
    if (dc.CreateEnhanced(nullptr, nullptr, nullptr, nullptr)) {
        draw(&dc, rect);
        metafile = dc.CloseEnhanced();
    }
    m_backIndex = backIndex;
    return metafile;
}

bool CSlide::Copy() noexcept {
    ClipboardBackend& board = clipboard();
    if (!board.open()) return false;
    board.empty();
    long width = 0, height = 0;
    getSize(width, height);
    HENHMETAFILE metafile = CreateEnhMetaFileW(CRect(0, 0, int(width), int(height)));
    board.setEnhMetaFile(metafile);
    board.close();
    return true;
}

} // namespace QOR
