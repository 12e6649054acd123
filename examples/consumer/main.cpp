// A program that uses an installed Qor: a hatched plate with a bore, fitted into a 400 x 300 picture
// and written as a PNG file.
#include <qor/gdx/gdx.h>
#include <qor/kernel/base/version.h>
#include <qor/platform/png_codec.h>
#include <qor/render/render.h>

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qor-consumer OUTPUT.png\n");
        return 2;
    }
    const int width = 400, height = 300;
    CQorGDX gdx; // background and colours from the configuration installed with the library

    // A 120 x 80 plate far from the origin, as in a real site plan, with a bore of diameter 30: two
    // half circles (bulge 1).
    const CQorPoint3d o(250000, 5600000, 0);
    CQorVertexArray plate, bore;
    const double corners[][2] = {{0, 0}, {120, 0}, {120, 80}, {0, 80}, {0, 0}};
    for (int i = 0; i < 4; ++i)
        plate.append(CQorVertex(o + CQorVector3d(corners[i][0], corners[i][1], 0),
                                o + CQorVector3d(corners[i + 1][0], corners[i + 1][1], 0)));
    bore.append(CQorVertex(o + CQorVector3d(45, 40, 0), o + CQorVector3d(75, 40, 0), 1.0));
    bore.append(CQorVertex(o + CQorVector3d(75, 40, 0), o + CQorVector3d(45, 40, 0), 1.0));
    gdx.imageReg({1}, QOR::GdxItemHatch | QOR::GdxItemOutline, {plate, bore}, CQorColor(7), CQorMatrix3d(),
                 {}, 1.0, 1, CQorColor(1), QOR::CHatchProp(L"ANSI31", 0.5, 2.0, false), {});

    CQorPoint3d min, max;
    gdx.extMaxViewGet(min, max);
    gdx.viewMtxSet(getViewMtx(min, max, height, width, 0.05));

    CBitmap bitmap;
    const std::filesystem::path out(argv[1]);
    if (!QOR::paintToBitmap(&gdx, bitmap, width, height) ||
        !QOR::bitmapWritePng(bitmap, out.wstring().c_str())) {
        std::fprintf(stderr, "qor-consumer: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("Qor %s drew %s\n", QOR::version(), argv[1]);
    return 0;
}
