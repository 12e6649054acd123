#include <gtest/gtest.h>

#include <filesystem>

#include "qor/gdx/gdx.h"
#include "qor/image/sld_image.h"
#include "qor/kernel/data/data_item.h"

namespace {

const std::wstring kLibrary =
    (std::filesystem::path(QOR_TEST_DATA_DIR) / "slide_library" / "demo.slb").wstring();

TEST(SldImage, LeerInAnyCaseIsAnEmptyPlaceholder) {
    for (const wchar_t* name : {L"LEER", L"leer", L"LeEr"}) {
        CQorGDX gdx;
        ASSERT_TRUE(qor_gdx_image_sld(&gdx, name, nullptr, 0, nullptr));
        ASSERT_EQ(gdx.lenGet(), 1);
        const CQorDisplayItem& point = gdx.getDisplayList()[0];
        EXPECT_EQ(point.m_type, QorDisplayPt);
        EXPECT_EQ(point.m_flags, 4u);
        EXPECT_EQ(point.m_point, CQorPoint3d::kOrigin);
        EXPECT_EQ(point.m_pdMode, 0xFFFFFFFFu);
    }
    CQorGDX gdx;
    EXPECT_FALSE(qor_gdx_image_sld(&gdx, L"LEERE", nullptr, 0, nullptr)); // another name needs a library
    EXPECT_FALSE(qor_gdx_image_sld(&gdx, L"LEE", nullptr, 0, nullptr));
    EXPECT_EQ(gdx.lenGet(), 0);
}

TEST(SldImage, ASlideFromTheLibraryBecomesItems) {
    CQorGDX gdx;
    CQorDataItem parm;
    ASSERT_TRUE(parm.set(CQorArrayTempl<int>{6}, L"STACK"));
    ASSERT_TRUE(qor_gdx_image_sld(&gdx, L"flange", kLibrary.c_str(), 0x10, &parm));
    ASSERT_GT(gdx.lenGet(), 1);
    EXPECT_EQ(gdx.getDisplayList()[0].m_stack, CQorArrayTempl<int>({6, 1}));

    EXPECT_FALSE(qor_gdx_image_sld(&gdx, L"NO_SUCH_SLIDE", kLibrary.c_str(), 0, nullptr));
    EXPECT_FALSE(qor_gdx_image_sld(&gdx, L"FLANGE", L"/no/such/library.slb", 0, nullptr));
    EXPECT_FALSE(qor_gdx_image_sld(&gdx, nullptr, kLibrary.c_str(), 0, nullptr));
    EXPECT_FALSE(qor_gdx_image_sld(nullptr, L"LEER", nullptr, 0, nullptr));
}

} // namespace
