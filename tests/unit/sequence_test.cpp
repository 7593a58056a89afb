// The driver's mode switch and its walk over the pages.
#include <gtest/gtest.h>

#include <string>

#include "setup/sequence.h"

TEST(SwitchMode, OnlyDashLowerUAtTheStart) {
    EXPECT_TRUE(IsSwitchMode("-u"));
    EXPECT_TRUE(IsSwitchMode("-uninstall"));
    EXPECT_TRUE(IsSwitchMode("-u other args"));
    EXPECT_FALSE(IsSwitchMode("-U"));
    EXPECT_FALSE(IsSwitchMode(" -u"));  // the start-up has already skipped the blanks
    EXPECT_FALSE(IsSwitchMode("/u"));
    EXPECT_FALSE(IsSwitchMode("-"));
    EXPECT_FALSE(IsSwitchMode(""));
    EXPECT_FALSE(IsSwitchMode(nullptr));
}

// The pages a user goes through when the pages end with the given results, one letter per
// state from the welcome page on: B welcome, M mouse type, D destination, I copying,
// C completion, X cancelled.
static std::string Walk(std::initializer_list<int16_t> results) {
    const char letters[] = "BMDICX";
    WizardState state = StateBegin;
    std::string seen = "B";
    for (int16_t result : results) {
        state = NextWizardState(state, result);
        seen += letters[state];
    }
    return seen;
}

TEST(WizardSequence, NextBackAndCancelOnEveryPage) {
    EXPECT_EQ("BMDIC", Walk({1, 1, 1, 1}));
    EXPECT_EQ("BMBMDMDIC", Walk({1, 2, 1, 1, 2, 1, 1, 1}));
    EXPECT_EQ("BMDIC", Walk({2, 1, 1, 2}));  // no working Back on the first and copying pages
    EXPECT_EQ("BX", Walk({0}));
    EXPECT_EQ("BMX", Walk({1, 0}));
    EXPECT_EQ("BMDX", Walk({1, 1, 0}));
    EXPECT_EQ("BMDIX", Walk({1, 1, 1, 0}));
}

TEST(WizardSequence, AnyOtherNonZeroResultMovesOn) {
    EXPECT_EQ("BMDIC", Walk({-32768, -1, 32767, 7}));
}

TEST(WizardSequence, EndStatesStay) {
    EXPECT_EQ("BMDICCC", Walk({1, 1, 1, 1, 0, 2}));
    EXPECT_EQ("BXXX", Walk({0, 1, 2}));
}
