// The arithmetic of page placement and the destination check.
#include <gtest/gtest.h>

#include "script/destination.h"
#include "wizard/placement.h"

TEST(PagePlacement, GrowsOnePixelAndCentresOnTheScreen) {
    PagePlacement p = PlacePage(0, 0, 400, 300, 640, 480);
    EXPECT_EQ(401, p.width);
    EXPECT_EQ(301, p.height);
    EXPECT_EQ(119, p.x);
    EXPECT_EQ(89, p.y);

    // The window's own position does not matter, only its size.
    p = PlacePage(-50, 700, 350, 1000, 640, 480);
    EXPECT_EQ(119, p.x);
    EXPECT_EQ(89, p.y);

    // Even sizes: the half pixel is dropped.
    p = PlacePage(10, 10, 429, 329, 1024, 768);
    EXPECT_EQ(420, p.width);
    EXPECT_EQ(320, p.height);
    EXPECT_EQ(302, p.x);
    EXPECT_EQ(224, p.y);
}

TEST(PagePlacement, LargerThanTheScreenGoesNegativeTruncatingTowardZero) {
    PagePlacement p = PlacePage(0, 0, 700, 500, 640, 480);  // 701 x 501
    EXPECT_EQ(-30, p.x);                                    // -61 / 2 truncates toward zero
    EXPECT_EQ(-10, p.y);                                    // -21 / 2
    p = PlacePage(0, 0, 0, 0, 0, 0);                        // a one-pixel page on no screen
    EXPECT_EQ(1, p.width);
    EXPECT_EQ(0, p.x);
}

TEST(PagePlacement, SizesAreHeldInSixteenBits) {
    PagePlacement p = PlacePage(0, 0, 65536, 40000, 640, 480);
    EXPECT_EQ(1, p.width);        // 65537 wraps to 1
    EXPECT_EQ(-25535, p.height);  // 40001 read as signed 16 bits
    EXPECT_EQ(319, p.x);
    EXPECT_EQ((480 + 25535) / 2, p.y);
}

TEST(DestinationForm, NeedsDriveColonAndBackslash) {
    EXPECT_TRUE(DestinationFormOk("C:\\"));
    EXPECT_TRUE(DestinationFormOk("c:\\Program Files\\Trevanix"));
    EXPECT_TRUE(DestinationFormOk("?:\\x"));  // the drive letter itself is not tested
    EXPECT_FALSE(DestinationFormOk(""));
    EXPECT_FALSE(DestinationFormOk("C"));
    EXPECT_FALSE(DestinationFormOk("C:"));
    EXPECT_FALSE(DestinationFormOk("C:dir"));
    EXPECT_FALSE(DestinationFormOk("dir\\sub"));
    EXPECT_FALSE(DestinationFormOk("\\\\server\\share"));
    EXPECT_FALSE(DestinationFormOk("C:/dir"));
}

TEST(DestinationForm, RootUpperCasesOnlyTheLetter) {
    char root[kRootPathWidth];
    DestinationRoot(root, "d:\\games");
    EXPECT_STREQ("D:\\", root);
    DestinationRoot(root, "E:\\");
    EXPECT_STREQ("E:\\", root);
    DestinationRoot(root, "z:");
    EXPECT_STREQ("Z:\\", root);
    DestinationRoot(root, "1:\\");
    EXPECT_STREQ("1:\\", root);
    DestinationRoot(root, "");
    EXPECT_EQ(0, root[0]);
}

TEST(FreeSpace, KilobytesFromClustersWithoutWrapping) {
    EXPECT_EQ(1000u, FreeKilobytes(1, 512, 2000));
    EXPECT_EQ(0u, FreeKilobytes(1, 512, 1));  // half a kilobyte is dropped
    EXPECT_EQ(0u, FreeKilobytes(0, 512, 2000));
    EXPECT_EQ(0u, FreeKilobytes(8, 512, 0));
    // 8 GB free: beyond 32 bits of bytes, which would wrap to a small number.
    EXPECT_EQ(8ull * 1024 * 1024, FreeKilobytes(64, 512, 262144));
    // Figures no drive reports saturate instead of wrapping.
    EXPECT_EQ(~0ull >> 10, FreeKilobytes(0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu));
}

TEST(FreeSpace, MinimumIsMetOrNot) {
    EXPECT_FALSE(SpaceSuffices(1000, 1024));  // 2000 clusters of 512 bytes, one megabyte asked
    EXPECT_TRUE(SpaceSuffices(1024, 1024));
    EXPECT_TRUE(SpaceSuffices(0, 0));
    EXPECT_TRUE(SpaceSuffices(40000, 40000));  // minimums above 16 bits are kept whole
    EXPECT_FALSE(SpaceSuffices(39999, 40000));
    // A negative minimum can never be met, however much room there is.
    EXPECT_FALSE(SpaceSuffices(~0ull >> 10, -1));
    EXPECT_FALSE(SpaceSuffices(8ull * 1024 * 1024 * 1024, -32768));
}
