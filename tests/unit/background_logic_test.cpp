// The dissolve order and the gradient's band arithmetic of the background window.
#include <gtest/gtest.h>

#include "presentation/dissolve.h"
#include "presentation/gradient.h"

TEST(DissolveOrder, IsAPermutationOfThePasses) {
    int seen[kDissolvePasses] = {};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            ASSERT_LT(DissolveOrder[y][x], kDissolvePasses);
            ++seen[DissolveOrder[y][x]];
        }
    for (int n = 0; n < kDissolvePasses; ++n) EXPECT_EQ(1, seen[n]) << "pass " << n;
}

TEST(DissolveOrder, CellOfEachPassMatchesTheTable) {
    struct {
        int pass, column, row;
    } named[] = {{0, 1, 1}, {1, 5, 5}, {63, 1, 7}, {44, 0, 0}, {5, 7, 7}};
    for (auto& n : named) {
        int column = -1, row = -1;
        ASSERT_EQ(1, DissolveCell(n.pass, &column, &row));
        EXPECT_EQ(n.column, column) << "pass " << n.pass;
        EXPECT_EQ(n.row, row) << "pass " << n.pass;
    }
    for (int pass = 0; pass < kDissolvePasses; ++pass) {
        int column = -1, row = -1;
        ASSERT_EQ(1, DissolveCell(pass, &column, &row));
        EXPECT_EQ(pass, DissolveOrder[row][column]);
    }
    int column = 9, row = 9;
    EXPECT_EQ(0, DissolveCell(64, &column, &row));
    EXPECT_EQ(0, DissolveCell(-1, &column, &row));
    EXPECT_EQ(9, column);
    EXPECT_EQ(9, row);
}

// The bands must tile rows 0..H-1 exactly, in order, none of them empty once H >= 255.
static void ExpectBandsTile(int32_t height) {
    SCOPED_TRACE(height);
    EXPECT_EQ(0, GradientBandTop(0, height));
    EXPECT_EQ(height, GradientBandBottom(kGradientBands - 1, height));
    int32_t minRows = height, maxRows = 0;
    for (int i = 0; i < kGradientBands; ++i) {
        int32_t top = GradientBandTop(i, height), bottom = GradientBandBottom(i, height);
        if (i > 0) ASSERT_EQ(GradientBandBottom(i - 1, height), top) << "band " << i;
        ASSERT_LE(top, bottom) << "band " << i;
        minRows = bottom - top < minRows ? bottom - top : minRows;
        maxRows = bottom - top > maxRows ? bottom - top : maxRows;
    }
    if (height >= kGradientBands) {
        EXPECT_EQ(height / kGradientBands, minRows);
        EXPECT_LE(maxRows - minRows, 1);
    }
}

TEST(GradientBands, CoverEveryRowWithoutGapOrOverlap) {
    for (int32_t height : {480, 600, 768, 864, 1024, 1200, 481, 599, 767, 255, 257, 1, 0, 32767})
        ExpectBandsTile(height);
}

TEST(GradientBands, NamedRowsAndColours) {
    // 640 x 480: band 0 is row 0, band 1 rows 1-2, band 254 rows 478-479.
    EXPECT_EQ(1, GradientBandBottom(0, 480));
    EXPECT_EQ(1, GradientBandTop(1, 480));
    EXPECT_EQ(3, GradientBandBottom(1, 480));
    EXPECT_EQ(478, GradientBandTop(254, 480));
    // 1024 x 768: bands of three or four rows; the last is rows 764-767.
    EXPECT_EQ(764, GradientBandTop(254, 768));
    EXPECT_EQ(3, GradientBandBottom(0, 768));
    EXPECT_EQ(255, GradientBandBlue(0));
    EXPECT_EQ(1, GradientBandBlue(254));
}

TEST(GradientBands, OutOfRangeInputsStayInsideTheScreen) {
    EXPECT_EQ(0, GradientBandTop(10, -480));
    EXPECT_EQ(0, GradientBandTop(-5, 480));
    EXPECT_EQ(480, GradientBandTop(300, 480));
    EXPECT_EQ(32767, GradientBandBottom(254, 100000));
}
