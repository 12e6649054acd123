#include "qor/kernel/base/status.h"

namespace QOR::detail {

Status fail(Status why) noexcept {
    return why;
}

} // namespace QOR::detail
