#include "qor/kernel/base/color.h"

#include "qor/kernel/base/status.h"

#include <algorithm>
#include <string>

namespace {

std::uint32_t packBgr(double r, double g, double b, double value) noexcept {
    // Components are scaled by 255 x value and truncated toward zero; the grey ramp's top value
    // (1.003333) would otherwise spill past 255.
    auto scale = [value](double c) { return std::min<std::uint32_t>(std::uint32_t(c * 255.0 * value), 255); };
    return scale(r) | (scale(g) << 8) | (scale(b) << 16);
}

// The value steps of the hue wheel, chosen by the last digit of the index divided by two.
constexpr double kWheelValues[5] = {1.0, 0.65, 0.5, 0.3, 0.2};

std::uint32_t swapRedBlue(std::uint32_t rgb) noexcept {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

int squaredDistance(std::uint32_t a, std::uint32_t b) noexcept {
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        sum += d * d;
    }
    return sum;
}

} // namespace

std::uint32_t acadRGB(int index) noexcept {
    switch (index) {
    case 0:
        return 0;
    case 1:
        return packBgr(1, 0, 0, 1.0);
    case 2:
        return packBgr(1, 1, 0, 1.0);
    case 3:
        return packBgr(0, 1, 0, 1.0);
    case 4:
        return packBgr(0, 1, 1, 1.0);
    case 5:
        return packBgr(0, 0, 1, 1.0);
    case 6:
        return packBgr(1, 0, 1, 1.0);
    case 7:
        return packBgr(1, 1, 1, 1.0);
    case 8:
        return packBgr(1, 1, 1, 0.5);
    case 9:
        return packBgr(1, 1, 1, 0.75);
    default:
        break;
    }
    if (index >= 250 && index <= 255) return packBgr(1, 1, 1, (index - 250) * 0.134 + 0.333333);
    if (index < 10 || index > 249) return 0;

    const double hue = ((index - 10) / 10) * 15.0; // degrees
    const int digit = index % 10;
    const double s = digit % 2 == 0 ? 1.0 : 0.5;
    const double v = kWheelValues[digit / 2];
    const double t = hue / 60.0;
    const int sector = int(t);
    const double f = t - sector;
    switch (sector) {
    case 0:
        return packBgr(1, 1 - s * (1 - f), 1 - s, v);
    case 1:
        return packBgr(1 - s * f, 1, 1 - s, v);
    case 2:
        return packBgr(1 - s, 1, 1 - s * (1 - f), v);
    case 3:
        return packBgr(1 - s, 1 - s * f, 1, v);
    case 4:
        return packBgr(1 - s * (1 - f), 1 - s, 1, v);
    default:
        return packBgr(1, 1 - s, 1 - s * f, v);
    }
}

struct CQorColor::Names {
    std::wstring book;
    std::wstring name;
};

CQorColor::CQorColor(const CQorColor& other) noexcept : m_index(other.m_index), m_rgb(other.m_rgb) {
    // A copy that cannot get memory for the names keeps the colour and drops only the names.
    if (other.m_names)
        m_names = QOR::detail::guarded<Names*>(nullptr, [&] { return new Names(*other.m_names); });
}

CQorColor& CQorColor::operator=(const CQorColor& other) noexcept {
    if (this != &other) {
        CQorColor copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CQorColor& CQorColor::operator=(CQorColor&& other) noexcept {
    if (this != &other) {
        delete m_names;
        m_index = other.m_index;
        m_rgb = other.m_rgb;
        m_names = other.m_names;
        other.m_names = nullptr;
    }
    return *this;
}

CQorColor::~CQorColor() {
    delete m_names;
}

bool CQorColor::setColorIndex(int index) noexcept {
    if (index < kNone || index > 255) {
        QOR::detail::fail(QOR::detail::Status::BadInput);
        return false;
    }
    m_index = index;
    m_rgb = 0;
    delete m_names;
    m_names = nullptr;
    return true;
}

void CQorColor::setTrueColor(std::uint32_t bgr) noexcept {
    bgr &= 0xFFFFFF;
    m_rgb = bgr | kTrueColorFlag;
    if (m_index != kNone) return;
    int best = 1;
    int bestDistance = squaredDistance(acadRGB(1), bgr);
    for (int i = 2; i <= 255 && bestDistance > 0; ++i) {
        const int d = squaredDistance(acadRGB(i), bgr);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    m_index = best;
}

void CQorColor::setColor(std::uint32_t rgb) noexcept {
    setTrueColor(swapRedBlue(rgb));
}

void CQorColor::setOleColor(std::uint32_t ole) noexcept {
    setTrueColor(ole);
}

std::uint32_t CQorColor::oleColor() const noexcept {
    if (hasTrueColor()) return m_rgb & 0xFFFFFF;
    return acadRGB(m_index);
}

bool CQorColor::setNames(const wchar_t* book, const wchar_t* name) noexcept {
    const bool noBook = !book || !*book;
    const bool noName = !name || !*name;
    if (noBook && noName) {
        delete m_names;
        m_names = nullptr;
        return true;
    }
    return QOR::detail::guarded(false, [&] {
        Names fresh{noBook ? std::wstring() : std::wstring(book),
                    noName ? std::wstring() : std::wstring(name)};
        if (!m_names) m_names = new Names;
        *m_names = std::move(fresh);
        return true;
    });
}

const wchar_t* CQorColor::bookName() const noexcept {
    return m_names ? m_names->book.c_str() : L"";
}

const wchar_t* CQorColor::colorName() const noexcept {
    return m_names ? m_names->name.c_str() : L"";
}

bool CQorColor::operator==(const CQorColor& other) const noexcept {
    if (m_index != other.m_index || m_rgb != other.m_rgb) return false;
    if (!m_names || !other.m_names) return m_names == other.m_names;
    return m_names->book == other.m_names->book && m_names->name == other.m_names->name;
}
