#include "kernel/vector3d.h"

#include "kernel/matrix3d.h"
#include "kernel/point3d.h"

double CQorVector3d::tol = 1e-10;

const CQorVector3d CQorVector3d::kXAxis{1.0, 0.0, 0.0};
const CQorVector3d CQorVector3d::kYAxis{0.0, 1.0, 0.0};
const CQorVector3d CQorVector3d::kZAxis{0.0, 0.0, 1.0};
const CQorPoint3d CQorPoint3d::kOrigin{0.0, 0.0, 0.0};

namespace {
// Target of writes through an index outside 0..2: reset on each use so that nothing leaks between calls.
double& scratchCoordinate() {
    thread_local double value;
    value = NAN;
    return value;
}
} // namespace

double& CQorVector3d::operator[](int i) {
    switch (i) {
    case 0:
        return x;
    case 1:
        return y;
    case 2:
        return z;
    default:
        return scratchCoordinate();
    }
}

double& CQorPoint3d::operator[](int i) {
    switch (i) {
    case 0:
        return x;
    case 1:
        return y;
    case 2:
        return z;
    default:
        return scratchCoordinate();
    }
}

CQorVector3d& CQorVector3d::transformBy(const CQorMatrix3d& m) {
    return *this = m.apply(*this);
}

CQorPoint3d& CQorPoint3d::transformBy(const CQorMatrix3d& m) {
    return *this = m.apply(*this);
}
