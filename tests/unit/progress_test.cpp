// Percentages, the gauge fill and the wait deadline of the install page.
#include <gtest/gtest.h>

#include <string>

#include "install/progress.h"
#include "presentation/tickwait.h"

// The percentages a disk of count entries shows, one after each entry.
static std::string Shown(int16_t count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += (i ? " " : "") + std::to_string(DiskPercentage(i, count));
    return text;
}

TEST(DiskPercentage, ThreeEntriesShow33_66_100) {
    EXPECT_EQ(33, DiskPercentage(0, 3));
    EXPECT_EQ(66, DiskPercentage(1, 3));
    EXPECT_EQ(100, DiskPercentage(2, 3));
    EXPECT_EQ("33 66 100", Shown(3));
    EXPECT_EQ("14 28 42 57 71 85 100", Shown(7));
    EXPECT_EQ("100", Shown(1));
}

TEST(DiskPercentage, ManyEntriesTruncateAndEndAtHundred) {
    EXPECT_EQ(0, DiskPercentage(0, 150));
    EXPECT_EQ(1, DiskPercentage(1, 150));
    EXPECT_EQ(2, DiskPercentage(2, 150));
    EXPECT_EQ(99, DiskPercentage(148, 150));
    EXPECT_EQ(100, DiskPercentage(149, 150));
    EXPECT_EQ(100, DiskPercentage(0, 1));
    // The largest disk the loader accepts: 100 * 32766 + 100 still fits 32 bits.
    EXPECT_EQ(100, DiskPercentage(32766, 32767));
    EXPECT_EQ(0, DiskPercentage(0, 32767));
    // Never decreasing, never above 100.
    int16_t last = 0;
    for (int i = 0; i < 1000; ++i) {
        int16_t p = DiskPercentage(i, 1000);
        EXPECT_GE(p, last);
        EXPECT_LE(p, 100);
        last = p;
    }
    EXPECT_EQ(0, DiskPercentage(0, 0));
}

TEST(GaugeFillBox, ShrinksMovesAndCutsToPercent) {
    // The gauge control of the install page at 96,69 141x12 dialog units is about
    // 144x20 pixels with the 8-point dialog font; any box shows the rule.
    GaugeBox control = {144, 112, 356, 132};
    GaugeBox full = GaugeFillBox(control, 100);
    EXPECT_EQ(145, full.left);
    EXPECT_EQ(113, full.top);
    EXPECT_EQ(129, full.bottom);
    // The full fill reaches the grey inner edge at right - 2.
    EXPECT_EQ(354, full.right);
    EXPECT_EQ(145, GaugeFillBox(control, 0).right);
    EXPECT_EQ(213, GaugeFillBox(control, 33).right);
    EXPECT_EQ(249, GaugeFillBox(control, 50).right);  // 104.5 pixels of fill, truncated
    // Height and left never change with the percentage.
    GaugeBox one = GaugeFillBox(control, 1);
    EXPECT_EQ(full.left, one.left);
    EXPECT_EQ(full.top, one.top);
    EXPECT_EQ(full.bottom, one.bottom);
    EXPECT_EQ(147, one.right);
}

TEST(TickWaitEnd, ZeroAndWrapReturnAtOnce) {
    uint32_t end = 0;
    EXPECT_EQ(1, TickWaitEnd(1000, 1000, &end));
    EXPECT_EQ(2000u, end);
    EXPECT_EQ(0, TickWaitEnd(1000, 0, &end));
    // Less than the wait's length before the counter wraps: no wait at all.
    EXPECT_EQ(0, TickWaitEnd(0xFFFFFF00u, 1000, &end));
    EXPECT_EQ(0, TickWaitEnd(0xFFFFFFFFu, 1, &end));
    // Exactly up to the last value the counter holds still waits.
    EXPECT_EQ(1, TickWaitEnd(0xFFFFFFFFu - 1000, 1000, &end));
    EXPECT_EQ(0xFFFFFFFFu, end);
    EXPECT_FALSE(TickWaitOver(1999, 1000, 1000));
    EXPECT_TRUE(TickWaitOver(2000, 1000, 1000));
}

namespace {
// A tick counter that moves 55 ms per reading, as on a 9x machine, from a chosen start;
// after 1000 readings it stands at its last value, where any wait is over.
uint32_t fakeTick, fakeReads, fakePumps;
uint32_t FakeNow() { return ++fakeReads > 1000 ? 0xFFFFFFFFu : fakeTick += 55; }
void FakePump() { ++fakePumps; }
}  // namespace

TEST(TickWait, EndsWhenTheCounterStepsOverItsEndAtTheWrap) {
    // Started at 0xFFFFFFFF - 1000: the end tick 0xFFFFFFFF lies between two readings,
    // the next one has wrapped to 44.
    fakeTick = 0xFFFFFFFFu - 1000 - 55;
    fakeReads = fakePumps = 0;
    TickWait(1000, FakeNow, FakePump);
    EXPECT_EQ(19u, fakePumps);  // 1045 ms after the first reading, not 49.7 days
    fakeTick = 5000;
    fakeReads = fakePumps = 0;
    TickWait(1000, FakeNow, FakePump);
    EXPECT_EQ(19u, fakePumps);
    TickWait(0, FakeNow, FakePump);
    EXPECT_EQ(19u, fakePumps);
}
