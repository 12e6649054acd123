#include "qor/kernel/base/version.h"

namespace QOR {

const char* version() noexcept {
    return QOR_VERSION_STRING;
}

} // namespace QOR
