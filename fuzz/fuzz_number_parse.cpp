// Fuzzes the length parser: any text either parses to a finite value or is refused, and a value it
// parses reads back from every format the formatter writes, within half a step of the precision.
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "qor/kernel/locale/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text(data, data + size); // every byte becomes one character
    double value = 0;
    const bool parsed = QOR::detail::distof(text.c_str(), value);
    const double loose = qorAtoF(text.c_str());
    if (loose != (parsed ? value : 0.0)) __builtin_trap();
    if (!parsed) return 0;
    if (!std::isfinite(value)) __builtin_trap();

    const int precision = size > 0 ? data[0] % 9 : 4;
    for (int format = 1; format <= 5; ++format) {
        std::wstring written;
        if (!QOR::detail::rtos(written, value, format, precision, size % 2 ? kRtosCompact : 0))
            __builtin_trap();
        double step = format >= 4 ? std::ldexp(1.0, -precision) : std::pow(10.0, -precision);
        if (format == 1 && value != 0) step *= std::pow(10.0, std::floor(std::log10(std::fabs(value))) + 1);
        double back = 0;
        if (!QOR::detail::distof(written.c_str(), back)) {
            // Rounding next to the largest double may write a length beyond it (2E+308), which the
            // parser rightly refuses; anything else must read back.
            if (std::fabs(value) + step / 2 <= DBL_MAX) __builtin_trap();
            continue;
        }
        if (!(std::fabs(back - value) <= step / 2 + std::fabs(value) * 1e-12)) __builtin_trap();
    }
    return 0;
}
