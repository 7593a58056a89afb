#include "setup/sequence.h"

int IsSwitchMode(const char* tail) { return tail != nullptr && tail[0] == '-' && tail[1] == 'u'; }

WizardState NextWizardState(WizardState state, int16_t result) {
    if (state == StateCompletion || state == StateCancelled) return state;
    if (result == 0) return StateCancelled;
    switch (state) {
    case StateBegin:
        return StateMouse;  // Back is disabled there: every non-zero result goes on
    case StateMouse:
        return result == 2 ? StateBegin : StateDirectory;
    case StateDirectory:
        return result == 2 ? StateMouse : StateInstall;
    default:
        return StateCompletion;  // SETUP_INSTALL is never left backwards
    }
}
