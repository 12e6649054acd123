#pragma once

// Shared helpers of the geometry tests: tolerant comparisons and a few standard shapes.

#include <gtest/gtest.h>

#include "qor/kernel/geom/vertex_array.h"

namespace geomtest {

inline void expectNear(const CQorPoint3d& a, const CQorPoint3d& b, double eps = 1e-9) {
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
}
inline void expectNear(const CQorVector3d& a, const CQorVector3d& b, double eps = 1e-9) {
    expectNear(CQorPoint3d(a.x, a.y, a.z), CQorPoint3d(b.x, b.y, b.z), eps);
}

/// Axis-parallel rectangle, counter-clockwise from (x0, y0).
inline CQorVertexArray rect(double x0, double y0, double x1, double y1) {
    CQorVertexArray vl;
    vl.fromPoints({{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}}, true);
    return vl;
}

/// A circle of radius r about (cx, cy) from two half-circle arcs; sign -1 runs clockwise.
inline CQorVertexArray circle(double cx, double cy, double r, double sign = 1.0) {
    CQorVertexArray vl;
    vl.append({cx + r, cy, 0}, {cx - r, cy, 0}, sign);
    vl.append({cx - r, cy, 0}, {cx + r, cy, 0}, sign);
    return vl;
}

/// One straight vertex.
inline CQorVertexArray line(double x0, double y0, double x1, double y1) {
    CQorVertexArray vl;
    vl.append({x0, y0, 0}, {x1, y1, 0});
    return vl;
}

} // namespace geomtest
