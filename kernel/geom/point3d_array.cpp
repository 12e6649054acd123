#include "qor/kernel/geom/point3d_array.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

void CQorPoint3dArray::sort(const CQorVector3d& direction) {
    if (len() < 2 || (direction.x == 0.0 && direction.y == 0.0 && direction.z == 0.0)) return;
    // Sort (key, index) pairs so that each key is computed once; NaN keys compare as larger than all.
    std::vector<std::pair<double, int>> keys(static_cast<std::size_t>(len()));
    for (int i = 0; i < len(); ++i)
        keys[std::size_t(i)] = {(*this)[i].asVector().dot(direction), i};
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) {
        if (std::isnan(a.first)) return false;
        if (std::isnan(b.first)) return true;
        return a.first < b.first;
    });
    CQorArrayTempl<CQorPoint3d> sorted;
    sorted.reserve(len());
    for (const auto& k : keys)
        sorted.append((*this)[k.second]);
    CQorArrayTempl<CQorPoint3d>::operator=(std::move(sorted));
}
