#pragma once

#include "qor/kernel/base/array_templ.h"
#include "qor/kernel/geom/point3d.h"

/// A growable array of model points with the element access of CQorArrayTempl. indexOf compares with
/// the tolerance of CQorPoint3d::operator==.
class QOR_EXPORT CQorPoint3dArray : public CQorArrayTempl<CQorPoint3d> {
public:
    using CQorArrayTempl<CQorPoint3d>::CQorArrayTempl;
    CQorPoint3dArray() = default;

    CQorPoint3dArray& operator+=(const CQorPoint3dArray& other) {
        CQorArrayTempl<CQorPoint3d>::operator+=(other);
        return *this;
    }
    CQorPoint3dArray& operator+=(const CQorPoint3d& p) {
        append(p);
        return *this;
    }

    /// Sorts the points by their projection on direction (the dot product of the point, as a vector from
    /// the origin, with direction), ascending; points with equal projections keep their order, and points
    /// whose projection is NaN go to the end. A zero direction leaves the order unchanged.
    void sort(const CQorVector3d& direction);
};
