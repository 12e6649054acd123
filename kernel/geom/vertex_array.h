#pragma once

// Geometry conventions: see arc_math.h. Tolerances: polyline_tol.h.

#include <utility>

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/geom/point3d_array.h"
#include "qor/kernel/geom/vertex.h"

/// A polyline: vertices in path order, stored flat, with the element access of CQorArrayTempl. The
/// vertices need not connect (isContinuous() tells). Arcs lie in the polyline's plane (normal()).
class QOR_EXPORT CQorVertexArray : public CQorArrayTempl<CQorVertex> {
public:
    using CQorArrayTempl<CQorVertex>::CQorArrayTempl;
    using CQorArrayTempl<CQorVertex>::append;
    CQorVertexArray() = default;

    int append(const CQorPoint3d& start, const CQorPoint3d& end, double bulge = 0.0) {
        return append(CQorVertex(start, end, bulge));
    }
    CQorVertexArray& operator+=(const CQorVertexArray& other) {
        CQorArrayTempl<CQorVertex>::operator+=(other);
        return *this;
    }
    CQorVertexArray& operator+=(const CQorVertex& v) {
        append(v);
        return *this;
    }

    /// The first and the last vertex; a default vertex when empty.
    const CQorVertex& firstVertex() const { return std::as_const(*this)[0]; }
    const CQorVertex& lastVertex() const { return std::as_const(*this)[len() - 1]; }

    /// Replaces the content by straight vertices between consecutive points, plus one from the last
    /// point back to the first when closed (unless they coincide). One point gives one zero-length
    /// vertex; no point gives an empty polyline and false.
    bool fromPoints(const CQorPoint3dArray& points, bool closed);

    /// Transforms every vertex by m; arcs keep their sense about the new plane (see
    /// CQorVertex::transformBy).
    CQorVertexArray& transformBy(const CQorMatrix3d& m);
    CQorVertexArray getTransformedCopy(const CQorMatrix3d& m) const;
    /// Translates every vertex by v.
    CQorVertexArray& move(const CQorVector3d& v);
    /// Reverses the direction: vertex order reversed, start and end swapped, bulges negated.
    CQorVertexArray& revert();

    /// Splits vertex index (negative counts from the end) at the point nearest p into two vertices.
    /// False, changing nothing, when the index is out of range, p lies farther than kOnTol from the
    /// vertex, or the split point would coincide with one of its ends.
    bool breakVertex(int index, const CQorPoint3d& p);

    /// Appends to points every point where this polyline meets other, in the XY projection (the point
    /// lies on this polyline: its z is this polyline's there). Overlapping collinear pieces give their
    /// ends. Each point is reported once (within kOnTol). Returns the number of points appended.
    int intersectWith(const CQorVertexArray& other, CQorPoint3dArray& points) const;

    /// Points for drawing: each vertex gives its start point (unless it repeats the last point given)
    /// and its end point. With flag set, arcs also give inner points so that no chord deviates more
    /// than tolerance from the arc; without it arcs are reduced to their chord.
    CQorPoint3dArray pts(bool flag, double tolerance) const;

    /// True when there is at least one vertex and each vertex starts where the previous one ends.
    bool isContinuous() const;
    /// True when the polyline is continuous, ends where it starts and has a non-zero length.
    bool isClosed() const;
    /// The exact bounding box, arcs included. False, leaving min and max untouched, when empty.
    bool extents(CQorPoint3d& min, CQorPoint3d& max) const;
    /// Unit normal of the polyline's plane (Newell's method over its points), turned so that its z is
    /// positive (else its y, else its x); +Z when the points are fewer than three or collinear.
    CQorVector3d normal() const;
    /// Total length of all vertices (arc lengths for arcs).
    double length() const;
    /// True when any vertex is an arc.
    bool hasArcs() const;
};

/// A polyline produced by projecting a solid: the polyline and the solid edge it came from.
class QOR_EXPORT CQorVertexArrayEx : public CQorVertexArray {
public:
    using CQorVertexArray::CQorVertexArray;
    CQorVertexArrayEx() = default;
    explicit CQorVertexArrayEx(const CQorVertexArray& vl, int edge = -1, bool hidden = false)
        : CQorVertexArray(vl), m_edge(edge), m_hidden(hidden) {}

    /// Index of the solid's edge the polyline was projected from, -1 when unknown.
    int edge() const { return m_edge; }
    void setEdge(int edge) { m_edge = edge; }
    /// True for an edge hidden in the projection's view direction.
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden) { m_hidden = hidden; }

private:
    int m_edge = -1;
    bool m_hidden = false;
};
