#include <gtest/gtest.h>

#include "qor/gdx/gdx.h"
#include "qor/image/ucs_image.h"
#include "qor/kernel/data/data_item.h"
#include "qor/kernel/data/resbuf.h"
#include "qor/kernel/host/host_app.h"
#include "qor/objlib/view_dir.h"

namespace {

/// The host lays the labels out as one stroke each; the icon's tolerance is put back afterwards.
class UcsImage : public ::testing::Test {
protected:
    void SetUp() override {
        QOR::setHostFcn(L"qor_text_to_regl", [](const resbuf*, resbuf*& result) {
            CQorVertexArray stroke;
            stroke.append({0, 0, 0}, {0.01, 0.02, 0});
            CQorDataItem strokes;
            strokes.set(CQorArrayTempl<CQorVertexArray>{stroke});
            result = QOR::rbToList(strokes.mkLisp());
            return RTNORM;
        });
    }
    void TearDown() override {
        QOR::setHostFcn(L"qor_text_to_regl", nullptr);
        CQorVector3d::tol = m_tol;
    }

    const double m_tol = CQorVector3d::tol;
    CQorGDX m_gdx;
};

TEST_F(UcsImage, IdentityViewLeavesOutTheAxisPointingAtTheViewer) {
    ASSERT_TRUE(qor_gdx_image_ucs(&m_gdx, CQorMatrix3d()));
    EXPECT_EQ(CQorVector3d::tol, 0.001);
    ASSERT_EQ(m_gdx.lenGet(), 4); // X line and label, Y line and label
    const CQorDisplayItem* items = &m_gdx.getDisplayList()[0];
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(items[i].m_flags, 0x580u);
        EXPECT_TRUE(items[i].m_stack.isEmpty());
        EXPECT_EQ(items[i].m_type, i % 2 == 0 ? QorDisplayVl : QorDisplayTxt);
    }
    EXPECT_EQ(items[0].m_vl[0].end, CQorPoint3d(0.15, 0, 0));
    EXPECT_EQ(items[1].m_mtx.translation(), CQorVector3d(0.19, 0, 0));
    EXPECT_EQ(items[2].m_vl[0].end, CQorPoint3d(0, 0.15, 0));
    EXPECT_EQ(items[3].m_mtx.translation(), CQorVector3d(0, 0.19, 0));
}

TEST_F(UcsImage, AnObliqueViewShowsAllThreeAxesTurned) {
    const CQorMatrix3d view = QOR::g_mtx_view_dir(L"I", CQorPoint3d::kOrigin).inverse(); // world to view
    ASSERT_TRUE(qor_gdx_image_ucs(&m_gdx, view));
    ASSERT_EQ(m_gdx.lenGet(), 6);
    const CQorVertex& z = m_gdx.getDisplayList()[4].m_vl[0];
    EXPECT_NEAR(z.end.x, 0, 1e-12); // world Z shows upwards
    EXPECT_GT(z.end.y, 0.1);

    m_gdx.clear(); // a side view: X points at the viewer
    ASSERT_TRUE(qor_gdx_image_ucs(&m_gdx, QOR::g_mtx_view_dir(L"R", CQorPoint3d::kOrigin).inverse()));
    EXPECT_EQ(m_gdx.lenGet(), 4);
    EXPECT_FALSE(qor_gdx_image_ucs(nullptr, view));
}

} // namespace
