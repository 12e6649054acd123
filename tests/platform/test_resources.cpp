#include <gtest/gtest.h>

#include "qor/platform/ico_codec.h"
#include "qor/platform/resources.h"

TEST(Resources, EveryIconLoadsAtBothSizes) {
    for (const int number :
         {2000, 2001, 2002, 2003, 2004, 2005, 2007, 32512, 32513, 32514, 32515, 32516, 32517}) {
        for (const int side : {16, 32}) {
            CBitmap color, mask;
            ASSERT_TRUE(QOR::iconLoadResource(color, mask, number, side, side)) << number;
            EXPECT_EQ(color.width(), side);
            EXPECT_EQ(mask.height(), side);
            // Every picture leaves some background and covers some of it.
            int transparent = 0;
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x)
                    transparent += mask.surface()->colorAt(x, y) != 0;
            EXPECT_GT(transparent, 0) << number << " " << side;
            EXPECT_LT(transparent, side * side) << number << " " << side;
        }
    }
    EXPECT_TRUE(QOR::isSystemIcon(IDI_APPLICATION));
    EXPECT_FALSE(QOR::isSystemIcon(2000));
}

TEST(Resources, UnknownNumbersAndTypesAreMissing) {
    CBitmap color, mask;
    EXPECT_FALSE(QOR::iconLoadResource(color, mask, 2006, 32, 32));
    EXPECT_FALSE(QOR::iconLoadResource(color, mask, 4006, 32, 32)); // a cursor, not an icon
    EXPECT_TRUE(QOR::resourceFind(RT_GROUP_ICON, 4006).empty());
    EXPECT_FALSE(color.isCreated());
}

TEST(Resources, PanCursorHasItsHotspotInTheMiddle) {
    const auto bytes = QOR::resourceFind(RT_GROUP_CURSOR, 4006);
    ASSERT_FALSE(bytes.empty());
    QOR::detail::Icon cursor;
    ASSERT_EQ(QOR::detail::decodeIco(bytes, 0, 0, cursor), QOR::detail::Status::Ok);
    EXPECT_EQ(cursor.color.width, 32);
    EXPECT_EQ(cursor.hotspot.x, 16);
    EXPECT_EQ(cursor.hotspot.y, 16);
    // The arrows cross at the hotspot: opaque there, transparent in the corners.
    EXPECT_EQ(cursor.mask.colorAt(16, 16), 0u);
    EXPECT_NE(cursor.mask.colorAt(1, 1), 0u);
}
