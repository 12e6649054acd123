// Display lists from outside the library: JSON files given to qor-render, fixtures, demo files. Reading
// must never crash; whatever reads must write back to text that reads to an equal list and the same
// text, and the list operations must survive whatever values it holds (NaN, huge coordinates, odd
// matrices).
#include "qor/gdx/gdx_json.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CQorGDX gdx(CQorColor(), CQorMatrix3d{}, 0.0, 0, CQorPoint3d{}, CQorPoint3d{});
    if (!QOR::gdxFromJson(gdx, text)) return 0;

    std::string written;
    if (!QOR::gdxToJson(gdx, written)) std::abort();
    CQorGDX again(CQorColor(), CQorMatrix3d{}, 0.0, 0, CQorPoint3d{}, CQorPoint3d{});
    if (!QOR::gdxFromJson(again, written) || again != gdx) std::abort();
    std::string rewritten;
    if (!QOR::gdxToJson(again, rewritten) || rewritten != written) std::abort();

    CQorPoint3d lo, hi;
    gdx.extmaxGet(CQorArrayTempl<int>{gdx.stackGet()}, lo, hi);
    gdx.imageItemGet(CQorPoint3d(double(size % 97), 3.0, 0.0));
    gdx.mtxSet(CQorArrayTempl<int>{gdx.stackGet()}, gdx.viewMtxGet());
    gdx.propSet(CQorArrayTempl<int>{gdx.stackGet()}, DWORD(size % 12));
    gdx.removeItemStack(CQorArrayTempl<int>{0});
    return 0;
}
