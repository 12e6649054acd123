#include <gtest/gtest.h>

#include <vector>

#include "qor/gdx/gdx_types.h"
#include "qor/kernel/geom/polyline_clip.h"
#include "qor/slide/gdx_sld.h"
#include "slide_writer.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Path = CQorGDX::Path;

class GdxSld : public ::testing::Test {
protected:
    CQorGDX gdx{CQorColor(), CQorMatrix3d(), 0.0, 0, CQorPoint3d(), CQorPoint3d()};
    QOR::CGdxSld sld;

    bool convert(const Bytes& bytes, DWORD flags, const CQorDataItem* parm) {
        sld.load(bytes.data(), int(bytes.size()));
        return sld.convert(&gdx, flags, parm);
    }
    Path stackOf(int item) const {
        Path p;
        gdx.itemStackGet(p, item);
        return p;
    }
};

TEST_F(GdxSld, ItemsCarryTheStackPlusACounterAndTheFlags) {
    const Bytes bytes = SlideWriter()
                            .color(3)
                            .vector(0, 0, 100, 50)
                            .fill({{0, 0}, {10, 0}, {10, 10}})
                            .commonEndpoint(5, 5)
                            .bytes();
    CQorDataItem parm;
    parm.set(Path{7}, L"STACK");
    ASSERT_TRUE(convert(bytes, 0x0400, &parm));
    ASSERT_EQ(gdx.lenGet(), 3);
    EXPECT_EQ(stackOf(0), (Path{7, 1}));
    EXPECT_EQ(stackOf(1), (Path{7, 2}));
    EXPECT_EQ(stackOf(2), (Path{7, 3}));
    EXPECT_EQ(gdx.flagGet(0), 0x0400u);
    EXPECT_EQ(gdx.flagGet(1), 0x0400u | QOR::GdxItemFill);
    EXPECT_EQ(gdx.typeGet(0), gdx.typeGet(2));
    EXPECT_NE(gdx.typeGet(0), gdx.typeGet(1));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(gdx.colorGet(i).colorIndex(), 3);
        EXPECT_EQ(gdx.linetypeGet(i), CQorArrayTempl<double>{1.0});
        EXPECT_EQ(gdx.ltscaleGet(i), 1.0);
        EXPECT_EQ(gdx.thicknGet(i), 0);
    }
    EXPECT_EQ(gdx.fcolorGet(1).colorIndex(), 3);
}

TEST_F(GdxSld, StackMayBeASingleIntOrMissing) {
    const Bytes bytes = SlideWriter().vector(0, 0, 1, 1).bytes();
    CQorDataItem parm;
    parm.set(12, L"STACK");
    ASSERT_TRUE(convert(bytes, 0, &parm));
    EXPECT_EQ(stackOf(0), (Path{12, 1}));
    ASSERT_TRUE(convert(bytes, 0, nullptr));
    EXPECT_EQ(stackOf(1), (Path{1}));
}

TEST_F(GdxSld, CoordinatesStayInSlidePixelsUnderTheMatrix) {
    CQorDataItem parm;
    CQorMatrix3d m;
    m.setToTranslation(CQorVector3d(5, 6, 7));
    parm.set(m, L"MTX");
    ASSERT_TRUE(convert(SlideWriter().vector(0, 0, 100, 50).bytes(), 0, &parm));
    CQorVertexArray vl;
    gdx.geomGet(vl, 0);
    ASSERT_EQ(vl.len(), 1);
    EXPECT_EQ(vl[0].start, CQorPoint3d(0, 0, 0));
    EXPECT_EQ(vl[0].end, CQorPoint3d(100, 50, 0));
    EXPECT_TRUE(gdx.mtxGet(0).isEqualTo(m, 0.0));
    EXPECT_EQ(gdx.colorGet(0).colorIndex(), CQorColor::kNone); // no colour record yet
}

TEST_F(GdxSld, FillsRunCounterClockwise) {
    const std::vector<SlideVertex> ccw{{0, 0}, {10, 0}, {10, 10}}, cw{{0, 0}, {10, 10}, {10, 0}};
    ASSERT_TRUE(convert(SlideWriter().fill(ccw).fill(cw).bytes(), 0, nullptr));
    CQorArrayTempl<CQorVertexArray> asRead, reversed;
    gdx.geomGet(asRead, 0);
    gdx.geomGet(reversed, 1);
    ASSERT_EQ(asRead.len(), 1);
    ASSERT_EQ(reversed.len(), 1);
    EXPECT_EQ(asRead[0].len(), 3);
    EXPECT_EQ(asRead[0][0].start, CQorPoint3d(0, 0, 0));
    EXPECT_EQ(asRead[0][0].end, CQorPoint3d(10, 0, 0));
    EXPECT_TRUE(QOR::g_vl_orient(reversed[0], CQorVector3d(0, 0, 1)));
    EXPECT_EQ(reversed[0][0].start, CQorPoint3d(0, 0, 0));
    EXPECT_EQ(reversed[0][0].end, CQorPoint3d(10, 0, 0)); // the clockwise one turned round
}

TEST_F(GdxSld, NothingDrawnGivesFalse) {
    EXPECT_FALSE(convert(SlideWriter().color(1).color(2).bytes(), 0, nullptr));
    Bytes bad = SlideWriter().vector(0, 0, 1, 1).bytes();
    bad[18] = 9;
    EXPECT_FALSE(convert(bad, 0, nullptr));
    EXPECT_FALSE(convert(Bytes(20, 0), 0, nullptr));
    EXPECT_FALSE(sld.convert(nullptr, 0, nullptr));
    EXPECT_FALSE(sld.load(L"/nonexistent/slide.sld", nullptr));
    EXPECT_FALSE(sld.convert(&gdx, 0, nullptr));
    EXPECT_EQ(gdx.lenGet(), 0);
}

} // namespace
