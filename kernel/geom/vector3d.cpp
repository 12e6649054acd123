#include "qor/kernel/geom/vector3d.h"

#include "qor/kernel/geom/matrix3d.h"
#include "qor/kernel/geom/point3d.h"

std::atomic<double> CQorVector3d::tol{1e-10};

const CQorVector3d CQorVector3d::kXAxis{1.0, 0.0, 0.0};
const CQorVector3d CQorVector3d::kYAxis{0.0, 1.0, 0.0};
const CQorVector3d CQorVector3d::kZAxis{0.0, 0.0, 1.0};
const CQorPoint3d CQorPoint3d::kOrigin{0.0, 0.0, 0.0};

namespace {
// Coordinate i of a point or vector for writing; an index outside 0..2 lands on a scratch value that is
// reset on each use, so that nothing leaks between calls.
template <class T>
double& coordinate(T& t, int i) {
    switch (i) {
    case 0:
        return t.x;
    case 1:
        return t.y;
    case 2:
        return t.z;
    default: {
        thread_local double scratch;
        scratch = NAN;
        return scratch;
    }
    }
}
} // namespace

double& CQorVector3d::operator[](int i) {
    return coordinate(*this, i);
}

double& CQorPoint3d::operator[](int i) {
    return coordinate(*this, i);
}

CQorVector3d& CQorVector3d::transformBy(const CQorMatrix3d& m) {
    return *this = m.apply(*this);
}

CQorPoint3d& CQorPoint3d::transformBy(const CQorMatrix3d& m) {
    return *this = m.apply(*this);
}
