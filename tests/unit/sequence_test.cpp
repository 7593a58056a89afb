// The driver's mode switch and its walk over the pages.
#include <gtest/gtest.h>

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

TEST(WizardSequence, NextBackAndCancelOnEveryPage) {
    EXPECT_EQ(StateMouse, NextWizardState(StateBegin, 1));
    EXPECT_EQ(StateMouse, NextWizardState(StateBegin, 2));  // no working Back on the first page
    EXPECT_EQ(StateCancelled, NextWizardState(StateBegin, 0));

    EXPECT_EQ(StateDirectory, NextWizardState(StateMouse, 1));
    EXPECT_EQ(StateBegin, NextWizardState(StateMouse, 2));
    EXPECT_EQ(StateCancelled, NextWizardState(StateMouse, 0));

    EXPECT_EQ(StateInstall, NextWizardState(StateDirectory, 1));
    EXPECT_EQ(StateMouse, NextWizardState(StateDirectory, 2));
    EXPECT_EQ(StateCancelled, NextWizardState(StateDirectory, 0));

    EXPECT_EQ(StateCompletion, NextWizardState(StateInstall, 1));
    EXPECT_EQ(StateCompletion, NextWizardState(StateInstall, 2));
    EXPECT_EQ(StateCancelled, NextWizardState(StateInstall, 0));
}

TEST(WizardSequence, AnyOtherNonZeroResultMovesOn) {
    EXPECT_EQ(StateDirectory, NextWizardState(StateMouse, -1));
    EXPECT_EQ(StateInstall, NextWizardState(StateDirectory, 32767));
    EXPECT_EQ(StateMouse, NextWizardState(StateBegin, -32768));
}

TEST(WizardSequence, EndStatesStay) {
    EXPECT_EQ(StateCompletion, NextWizardState(StateCompletion, 0));
    EXPECT_EQ(StateCancelled, NextWizardState(StateCancelled, 1));
}
