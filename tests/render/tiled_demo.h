#pragma once

// The bundled demo drawing as a large list, for tests and benchmarks of big frames.

#include <filesystem>
#include <string>

#include "qor/gdx/gdx_json.h"
#include "qor/kernel/data/file_find.h"

/// The demo repeated side by side (each copy moved by its item matrices) until the list holds at least
/// minItems items, every kind included, with the view fitted to a picture of width x height. False when
/// the demo cannot be read.
inline bool tiledDemo(CQorGDX& gdx, int minItems, int width, int height) {
    const std::filesystem::path demo =
        std::filesystem::path(std::wstring(QOR::resourceDir().view())) / "demo" / "demo.json";
    if (!QOR::gdxReadJsonFile(gdx, demo)) return false;
    CQorPoint3d min, max;
    gdx.extmaxGet(min, max);
    const double dx = (max.x - min.x) * 1.1, dy = (max.y - min.y) * 1.1;
    const CQorArrayTempl<CQorDisplayItem> one = gdx.getDisplayList();
    int columns = 1;
    while (columns * columns * one.len() < minItems)
        ++columns;
    for (int n = 1; n < columns * columns; ++n) {
        CQorMatrix3d shift;
        shift.setToTranslation(CQorVector3d(dx * (n % columns), dy * (n / columns), 0.0));
        CQorArrayTempl<CQorDisplayItem> copy = one;
        for (int i = 0; i < copy.len(); ++i)
            copy[i].m_mtx = shift * copy[i].m_mtx;
        if (!gdx.addDisplayList(copy)) return false;
    }
    gdx.projMtxSet(CQorMatrix3d(gdx.projMtxGet())); // extents from every item
    gdx.extMaxViewGet(min, max);
    gdx.viewMtxSet(getViewMtx(min, max, height, width, 0.05));
    return true;
}
