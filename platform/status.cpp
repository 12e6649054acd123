#include "platform/status.h"

namespace QOR::detail {

Status fail(Status status) noexcept {
    return status;
}

} // namespace QOR::detail
