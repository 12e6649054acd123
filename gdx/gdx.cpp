#include "qor/gdx/gdx.h"

#include <atomic>
#include <utility>

#include "qor/gdx/gdx_p.h"
#include "qor/kernel/base/status.h"

using QOR::detail::Bounds;

namespace {

const CQorArrayTempl<double> kSolidLine{1.0};

bool sameDouble(double a, double b) noexcept {
    return a == b || (std::isnan(a) && std::isnan(b));
}

bool sameMatrix(const CQorMatrix3d& a, const CQorMatrix3d& b) noexcept {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (!sameDouble(a.entry[i][j], b.entry[i][j])) return false;
    return true;
}

bool samePoint(const CQorPoint3d& a, const CQorPoint3d& b) noexcept {
    return sameDouble(a.x, b.x) && sameDouble(a.y, b.y) && sameDouble(a.z, b.z);
}

const CQorDisplayItem& itemAt(const CQorArrayTempl<CQorDisplayItem>& list, int item) {
    return list[item];
}

} // namespace

CQorGDX::CQorGDX(const CQorColor& back, const CQorMatrix3d& proj, double pdSize, DWORD pdMode,
                 const CQorPoint3d& viewMin, const CQorPoint3d& viewMax)
    : m_backColor(back), m_pdSize(pdSize), m_pdMode(pdMode), m_projMtx(proj), m_viewMin(viewMin),
      m_viewMax(viewMax) {}

CQorGDX::~CQorGDX() = default;

std::uint64_t QOR::detail::nextRevision() noexcept {
    // Shared by every list, so that no two states of any lists show the same number.
    static std::atomic<std::uint64_t> s_last{0};
    return s_last.fetch_add(1, std::memory_order_relaxed) + 1;
}

void CQorGDX::Revision::bump() noexcept {
    m_value = QOR::detail::nextRevision();
}

bool CQorGDX::operator==(const CQorGDX& o) const noexcept {
    if (m_extents.len() != o.m_extents.len()) return false;
    for (int i = 0; i < m_extents.len(); ++i)
        if (!samePoint(m_extents.data()[i], o.m_extents.data()[i])) return false;
    return m_backColor == o.m_backColor && sameDouble(m_pdSize, o.m_pdSize) && m_pdMode == o.m_pdMode &&
           sameMatrix(m_projMtx, o.m_projMtx) && sameMatrix(m_viewMtx, o.m_viewMtx) &&
           sameMatrix(m_zoomMtx, o.m_zoomMtx) && samePoint(m_viewMin, o.m_viewMin) &&
           samePoint(m_viewMax, o.m_viewMax) && m_list == o.m_list && m_colorTab == o.m_colorTab &&
           sameMatrix(m_viewDirMtx, o.m_viewDirMtx);
}

// --- Adders.

void CQorGDX::appendItem(CQorDisplayItem&& item) {
    // Everything that allocates comes before the item is appended, so a throw leaves the list as it was.
    const bool counts = (item.m_flags & QOR::detail::kNoExtentsFlags) == 0;
    Bounds b;
    if (counts) {
        if (!m_extents.isEmpty()) {
            b.add(m_extents.data()[0]);
            b.add(m_extents.data()[1]);
        }
        CQorVertexArray scratch;
        QOR::detail::boundItem(item, m_projMtx * m_viewDirMtx * item.m_mtx, b, scratch);
        m_extents.reserve(2);
    }
    QOR::detail::stamp(item);
    changeItems().append(std::move(item));
    if (counts) setExtents(b.any, b.lo, b.hi);
}

void CQorGDX::imagePt(const Path& path, DWORD flags, const CQorPoint3d& pt, const CQorColor& color,
                      const CQorMatrix3d& mtx, double pdSize, DWORD pdMode,
                      const CQorPoint3d& anchor) noexcept {
    QOR::detail::guardedAt("CQorGDX::imagePt", false, [&] {
        CQorDisplayItem item = QOR::detail::newItem(QorDisplayPt, path, flags, color, mtx);
        item.m_point = pt;
        item.m_pdSize = pdSize;
        item.m_pdMode = pdMode;
        QOR::detail::anchorByVertex(item, anchor);
        appendItem(std::move(item));
        return true;
    });
}

namespace {

/// The line style and anchor that polylines and regions share.
void styleLine(CQorDisplayItem& item, const CQorArrayTempl<double>& linetype, double ltscale, DWORD thickness,
               const CQorPoint3d& anchor) {
    item.m_linetype = linetype.isEmpty() ? kSolidLine : linetype;
    item.m_ltscale = ltscale;
    item.m_thickness = int(thickness);
    if (item.m_flags & QOR::GdxItemAnchored) item.m_point = anchor;
}

} // namespace

void CQorGDX::imageVl(const Path& path, DWORD flags, const CQorVertexArray& vl, const CQorColor& color,
                      const CQorMatrix3d& mtx, const CQorArrayTempl<double>& linetype, double ltscale,
                      DWORD thickness, const CQorPoint3d& anchor) noexcept {
    QOR::detail::guardedAt("CQorGDX::imageVl", false, [&] {
        CQorDisplayItem item = QOR::detail::newItem(QorDisplayVl, path, flags, color, mtx);
        item.m_vl = vl;
        styleLine(item, linetype, ltscale, thickness, anchor);
        appendItem(std::move(item));
        return true;
    });
}

void CQorGDX::imageReg(const Path& path, DWORD flags, const CQorArrayTempl<CQorVertexArray>& regions,
                       const CQorColor& color, const CQorMatrix3d& mtx,
                       const CQorArrayTempl<double>& linetype, double ltscale, DWORD thickness,
                       const CQorColor& fcolor, const QOR::CHatchProp& hatch,
                       const CQorPoint3d& anchor) noexcept {
    QOR::detail::guardedAt("CQorGDX::imageReg", false, [&] {
        CQorDisplayItem item = QOR::detail::newItem(QorDisplayReg, path, flags, color, mtx);
        item.m_regions = regions;
        styleLine(item, linetype, ltscale, thickness, anchor);
        if (flags & (QOR::GdxItemFill | QOR::GdxItemHatch))
            item.m_fcolor = fcolor.colorIndex() >= 0 ? fcolor : color;
        item.m_hatch = hatch;
        appendItem(std::move(item));
        return true;
    });
}

void CQorGDX::imagePicture(const Path& path, DWORD flags, const wchar_t* name, int number,
                           const CQorPoint3d& p1, const CQorPoint3d& p2) noexcept {
    QOR::detail::guardedAt("CQorGDX::imagePicture", false, [&] {
        CQorDisplayItem item =
            QOR::detail::newItem(QorDisplayPicture, path, flags, CQorColor(), CQorMatrix3d());
        item.m_text = name;
        item.m_pdMode = DWORD(number);
        if (p1 != p2) item.m_vl.append(p1, p2);
        // Pictures never count for the extents, so there is nothing to widen.
        QOR::detail::stamp(item);
        changeItems().append(std::move(item));
        return true;
    });
}

bool CQorGDX::addDisplayList(const CQorArrayTempl<CQorDisplayItem>& items) noexcept {
    if (items.isEmpty()) return false;
    return QOR::detail::guardedAt("CQorGDX::addDisplayList", false, [&] {
        // A copy that throws takes the ones appended before it away again: all items or none.
        struct Rollback {
            CQorArrayTempl<CQorDisplayItem>& list;
            const int len;
            bool done = false;
            ~Rollback() {
                if (!done) list.removeAt(len, list.len() - len);
            }
        } rollback{changeItems(), m_list.len()};
        m_list.reserve(m_list.len() + items.len());
        for (const CQorDisplayItem& item : items) {
            m_list.append(item);
            QOR::detail::stamp(m_list[m_list.len() - 1]); // the caller may have changed a copy of an item
        }
        rollback.done = true;
        return true;
    });
}

// --- Item getters.

QorDisplayObj CQorGDX::typeGet(int item) const {
    return itemAt(m_list, item).m_type;
}
DWORD CQorGDX::flagGet(int item) const {
    return itemAt(m_list, item).m_flags;
}
const CQorColor& CQorGDX::colorGet(int item) const {
    return itemAt(m_list, item).m_color;
}
const CQorColor& CQorGDX::fcolorGet(int item) const {
    return itemAt(m_list, item).m_fcolor;
}
const CQorArrayTempl<double>& CQorGDX::linetypeGet(int item) const {
    return itemAt(m_list, item).m_linetype;
}
double CQorGDX::ltscaleGet(int item) const {
    return itemAt(m_list, item).m_ltscale;
}
const CQorMatrix3d& CQorGDX::mtxGet(int item) const {
    return itemAt(m_list, item).m_mtx;
}
int CQorGDX::thicknGet(int item) const {
    return itemAt(m_list, item).m_thickness;
}
void CQorGDX::itemStackGet(Path& out, int item) const {
    out = itemAt(m_list, item).m_stack;
}
void CQorGDX::geomGet(CQorPoint3d& out, int item) const {
    out = itemAt(m_list, item).m_point;
}
void CQorGDX::geomGet(CQorVertexArray& out, int item) const {
    out = itemAt(m_list, item).m_vl;
}
void CQorGDX::geomGet(CQorArrayTempl<CQorVertexArray>& out, int item) const {
    out = itemAt(m_list, item).m_regions;
}
void CQorGDX::geomGet(CQorStrokeGroups& out, int item) const {
    out = itemAt(m_list, item).m_strokes;
}

bool CQorGDX::hatchGet(int item, QOR::CHatchProp& out) const {
    if (item >= m_list.len()) return false;
    out = itemAt(m_list, item).m_hatch;
    return true;
}

DWORD CQorGDX::pdModeGet(int item) const {
    const DWORD mode = itemAt(m_list, item).m_pdMode;
    return mode == QOR::kGdxPdModeDefault ? m_pdMode : mode;
}

double CQorGDX::pdSizeGet(int item) const {
    const double size = itemAt(m_list, item).m_pdSize;
    return size == 0.0 ? m_pdSize : size;
}

bool CQorGDX::pictureGet(int item, CQorString& name, int& number) const {
    const CQorDisplayItem& it = itemAt(m_list, item);
    name = it.m_text;
    number = int(it.m_pdMode);
    return it.m_pdMode != QOR::kGdxNoPictureNumber || !name.isEmpty();
}

// --- Colour table.

bool CQorGDX::ColorTabSet(QOR::GdxColorMode mode, const CQorColor& color) {
    if (mode < 1 || mode > 14) return false;
    return QOR::detail::guarded(false, [&] {
        m_colorTab[int(mode) - 1] = color;
        return true;
    });
}

const CQorColor& CQorGDX::colorTabGet(QOR::GdxColorMode mode) const {
    static const CQorColor kNoColor;
    if (mode < 1 || mode > 14) return kNoColor;
    return m_colorTab[int(mode) - 1];
}
