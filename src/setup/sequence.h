// The setup driver's decisions that need no Windows call: the mode chosen by the command
// line and the walk over the pages.
#pragma once
#include <stdint.h>

enum WizardState {
    StateBegin,       // SETUP_BEGIN
    StateMouse,       // SETUP_SELMOUSE
    StateDirectory,   // SETUP_SELDIR
    StateInstall,     // SETUP_INSTALL
    StateCompletion,  // system.ini, SETUP_END, restart
    StateCancelled,   // file table released, program ends
};

// 1 when the command-line tail selects the driver-switch mode: "-u" at its start,
// whatever follows. A capital U does not count.
int IsSwitchMode(const char* tail);

// The state that follows a page's result (0 cancel, 2 back, anything else next).
WizardState NextWizardState(WizardState state, int16_t result);
