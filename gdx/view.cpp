// The matrices of a display list, named view directions, the fit-to-window view matrix and the view box.

#include "qor/gdx/gdx_p.h"
#include "qor/kernel/geom/view_matrix.h"

namespace {

struct NamedView {
    const wchar_t* name;
    CQorVector3d dir;
};

// The order is the order in which viewDirectionSet checks the names. "O" (Ost, east) is -X and "W" +X,
// while the diagonals "NO" and "SO" have x = +1: the names keep the meaning their users know.
const NamedView kNamedViews[] = {
    {L"P", {0, 0, 1}},  {L"N", {0, 1, 0}},   {L"S", {0, -1, 0}},  {L"O", {-1, 0, 0}},   {L"W", {1, 0, 0}},
    {L"NO", {1, 1, 1}}, {L"NW", {-1, 1, 1}}, {L"SO", {1, -1, 1}}, {L"SW", {-1, -1, 1}},
};

const NamedView* findView(const CQorString& name) {
    for (const NamedView& view : kNamedViews)
        if (name == view.name) return &view;
    return nullptr;
}

} // namespace

CQorVector3d qor_gdx_view_vdir_get(const CQorString& name) {
    const NamedView* view = findView(name);
    return view ? view->dir : CQorVector3d{};
}

CQorMatrix3d getViewMtx(CQorPoint3d pmin, CQorPoint3d pmax, int height, int width, double margin) {
    const double h = height == 0 ? 240.0 : double(height);
    const double w = width == 0 ? 320.0 : double(width);
    const double m = std::max(pmax.x - pmin.x, pmax.y - pmin.y) * margin;
    pmax += CQorVector3d(m, m, 0.0);
    pmin -= CQorVector3d(m, m, 0.0);
    const double dx = pmax.x - pmin.x;
    const double dy = pmax.y - pmin.y;
    // Also rejects NaN sizes: the box must have an area to be fitted.
    if (!(dx > 0.0 && dy > 0.0)) return CQorMatrix3d{};
    const double s = w / h > dx / dy ? h / dy : w / dx;
    const double ox = (w / s - dx) * 0.5;
    const double oy = (h / s - dy) * 0.5;
    pmin -= CQorVector3d(ox, oy, 0.0);
    CQorMatrix3d a; // pixel rows grow downwards from the window's top
    a.setCoordSystem(CQorPoint3d(0.0, h, 0.0), CQorVector3d::kXAxis, -CQorVector3d::kYAxis,
                     CQorVector3d::kZAxis);
    CQorMatrix3d b;
    b.setCoordSystem(CQorPoint3d(-s * pmin.x, -s * pmin.y, 0.0), CQorVector3d(s, 0, 0), CQorVector3d(0, s, 0),
                     CQorVector3d(0, 0, s));
    return a * b;
}

void CQorGDX::viewDirectionMtxSet(const CQorMatrix3d& mtx) {
    m_viewDirMtx = mtx;
    refresh_ext();
}

void CQorGDX::viewDirectionHvcSet(const CQorVector3d& dir) {
    viewDirectionMtxSet(QOR::g_mtx_view(dir, CQorPoint3d::kOrigin, true));
}

bool CQorGDX::viewDirectionSet(CQorString name) {
    const NamedView* view = findView(name);
    if (!view) return false;
    viewDirectionHvcSet(view->dir);
    return true;
}

void CQorGDX::projMtxSet(const CQorMatrix3d& mtx) {
    m_projMtx = mtx;
    refresh_ext();
}

void CQorGDX::extMaxViewGet(CQorPoint3d& min, CQorPoint3d& max) const {
    if (m_viewMin != m_viewMax) {
        min = m_viewMin;
        max = m_viewMax;
        return;
    }
    extmaxGet(min, max);
}

void CQorGDX::extMaxViewSet(const CQorPoint3d& min, const CQorPoint3d& max) {
    m_viewMin = min;
    m_viewMax = max;
}

void CQorGDX::extMaxViewSet() {
    if (m_extents.len() == 2) {
        m_viewMin = m_extents.data()[0];
        m_viewMax = m_extents.data()[1];
    } else {
        m_viewMin = m_viewMax = CQorPoint3d::kOrigin;
    }
}

CQorPoint3d CQorGDX::imagePtWc(const CQorPoint3d& p) const {
    CQorMatrix3d back = m_zoomMtx * m_viewMtx * m_projMtx * m_viewDirMtx;
    if (!back.invert()) return p; // a singular chain has no way back
    return back * p;
}
