// Feeds arbitrary bytes to the JSON reader of the data tree. Whatever it accepts must write back out and
// read again to an equal tree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/data_json.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CQorDataItem item;
    if (!QOR::dataFromJson(item, text)) return 0;
    std::string written;
    if (!QOR::dataToJson(item, written, -1)) std::abort();
    CQorDataItem again;
    if (!QOR::dataFromJson(again, written)) std::abort();
    if (!(again == item)) std::abort();
    return 0;
}
