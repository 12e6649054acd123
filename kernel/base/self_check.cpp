#include "qor/kernel/base/self_check.h"

#include "qor/kernel/base/array_templ.h"

namespace QOR {

const char* selfCheck() noexcept {
    CQorArrayTempl<int> a{1, 2, 3};
    if (a[-1] != 3 || a[-3] != 1) return "negative array index";
    const CQorArrayTempl<int>& ca = a;
    if (ca[10] != 0 || a.len() != 3) return "const read past the end";
    a[4] = 5;
    if (a.len() != 5 || a[3] != 0) return "write past the end";
    return nullptr;
}

} // namespace QOR
