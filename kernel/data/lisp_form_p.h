#pragma once

// Internal: LISP (result-buffer) forms of the geometry values, shared by the data tree's mkLisp/setData
// and by QOR::fromRb. The forms are documented where they are published (data_item.h, resbuf.h).

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/data/resbuf.h"
#include "qor/kernel/geom/matrix3d.h"
#include "qor/kernel/geom/vertex_array.h"

namespace QOR::detail {

/// Appends to a chain under construction; keeps the last resbuf so that building stays linear.
class RbBuilder {
public:
    RbBuilder() = default;
    RbBuilder(const RbBuilder&) = delete;
    RbBuilder& operator=(const RbBuilder&) = delete;
    ~RbBuilder() { qorRelRb(m_head); }

    /// Appends rb (a single resbuf or a chain); false, recording the failure, for null.
    bool add(resbuf* rb) noexcept;
    bool ok() const noexcept { return m_ok; }
    /// Hands the chain over (null after a failure, with the partial chain freed).
    resbuf* release() noexcept;

    bool point(const CQorPoint3d& p) noexcept;
    /// (start end bulge)
    bool vertex(const CQorVertex& v) noexcept;
    /// (vertex ...)
    bool vertexArray(const CQorVertexArray& vl) noexcept;
    /// ((m00 m01 m02 m03) ... (m30 ... m33)), row by row.
    bool matrix(const CQorMatrix3d& m) noexcept;

private:
    resbuf* m_head = nullptr;
    resbuf* m_last = nullptr;
    bool m_ok = true;
};

/// The resbuf that closes the list starting at rb (its RTLE or RTDOTE); null when rb is no RTLB or the
/// list is not closed.
const resbuf* rbClosing(const resbuf* rb) noexcept;
/// True when the element at rb is a dotted pair (RTLB ... RTDOTE).
bool rbIsPair(const resbuf* rb) noexcept;
/// True for RT3DPOINT and RTPOINT.
bool rbIsPoint(const resbuf* rb) noexcept;

/// Reads the list element at rb as a vertex (start end bulge).
bool readVertex(const resbuf* rb, CQorVertex& v) noexcept;
/// Reads the list element at rb as a polyline: a list of vertices, or a list of points joined by straight
/// vertices (when allowPoints); RTNIL is the empty polyline.
bool readVertexArray(const resbuf* rb, CQorVertexArray& vl, bool allowPoints) noexcept;

} // namespace QOR::detail
