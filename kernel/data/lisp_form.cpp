#include "qor/kernel/data/lisp_form_p.h"

namespace QOR::detail {

bool RbBuilder::add(resbuf* rb) noexcept {
    if (rb == nullptr) {
        m_ok = false;
        return false;
    }
    if (m_head == nullptr)
        m_head = rb;
    else
        m_last->rbnext = rb;
    m_last = rbLast(rb);
    return true;
}

resbuf* RbBuilder::release() noexcept {
    resbuf* head = m_head;
    m_head = m_last = nullptr;
    if (!m_ok) {
        qorRelRb(head);
        return nullptr;
    }
    return head;
}

bool RbBuilder::point(const CQorPoint3d& p) noexcept {
    const double xyz[3] = {p.x, p.y, p.z};
    return add(mkResbuf(RT3DPOINT, xyz));
}

bool RbBuilder::vertex(const CQorVertex& v) noexcept {
    return add(mkResbuf(RTLB)) && point(v.start) && point(v.end) && add(mkResbuf(RTREAL, v.bulge)) &&
           add(mkResbuf(RTLE));
}

bool RbBuilder::vertexArray(const CQorVertexArray& vl) noexcept {
    if (!add(mkResbuf(RTLB))) return false;
    for (const auto& v : vl)
        if (!vertex(v)) return false;
    return add(mkResbuf(RTLE));
}

bool RbBuilder::matrix(const CQorMatrix3d& m) noexcept {
    if (!add(mkResbuf(RTLB))) return false;
    for (const auto& row : m.entry) {
        if (!add(mkResbuf(RTLB))) return false;
        for (double e : row)
            if (!add(mkResbuf(RTREAL, e))) return false;
        if (!add(mkResbuf(RTLE))) return false;
    }
    return add(mkResbuf(RTLE));
}

const resbuf* rbClosing(const resbuf* rb) noexcept {
    if (rb == nullptr || rb->restype != RTLB) return nullptr;
    int depth = 0;
    for (; rb != nullptr; rb = rb->rbnext) {
        if (rb->restype == RTLB)
            ++depth;
        else if ((rb->restype == RTLE || rb->restype == RTDOTE) && --depth == 0)
            return rb;
    }
    return nullptr;
}

bool rbIsPair(const resbuf* rb) noexcept {
    const resbuf* end = rbClosing(rb);
    return end != nullptr && end->restype == RTDOTE;
}

bool rbIsPoint(const resbuf* rb) noexcept {
    return rb != nullptr && (rb->restype == RT3DPOINT || rb->restype == RTPOINT);
}

namespace {

CQorPoint3d pointOf(const resbuf* rb) {
    return {rb->resval.rpoint[0], rb->resval.rpoint[1],
            rb->restype == RT3DPOINT ? rb->resval.rpoint[2] : 0.0};
}

} // namespace

bool readVertex(const resbuf* rb, CQorVertex& v) noexcept {
    const resbuf* end = rbClosing(rb);
    if (end == nullptr || end->restype != RTLE) return false;
    const resbuf* s = rb->rbnext;
    if (!rbIsPoint(s) || !rbIsPoint(s->rbnext)) return false;
    const resbuf* b = s->rbnext->rbnext;
    double bulge = 0;
    if (b == end)
        bulge = 0; // (start end) is a straight vertex
    else if (!fromRb(bulge, b) || b->rbnext != end)
        return false;
    v.set(pointOf(s), pointOf(s->rbnext), bulge);
    return true;
}

bool readVertexArray(const resbuf* rb, CQorVertexArray& vl, bool allowPoints) noexcept {
    if (rb == nullptr) return false;
    if (rb->restype == RTNIL) return true;
    const resbuf* end = rbClosing(rb);
    if (end == nullptr || end->restype != RTLE) return false;
    const resbuf* first = rb->rbnext;
    if (allowPoints && first != end && rbIsPoint(first)) {
        CQorPoint3dArray points;
        for (const resbuf* e = first; e != end; e = e->rbnext) {
            if (!rbIsPoint(e)) return false;
            points.append(pointOf(e));
        }
        if (points.len() == 1) vl.append(points[0], points[0]);
        for (int i = 1; i < points.len(); ++i)
            vl.append(points[i - 1], points[i]);
        return true;
    }
    for (const resbuf* e = first; e != end; e = rbSkip(e)) {
        CQorVertex v;
        if (e == nullptr || !readVertex(e, v)) return false;
        vl.append(v);
    }
    return true;
}

} // namespace QOR::detail
