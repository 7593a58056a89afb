// SETUP.EXE run with /S: the installation, or with -u the driver switch, without a window,
// a message box or a wait, from the script's proposals and the switches. Nothing of the
// page code runs, so no display is needed.
#pragma once

#include "runtime/switches.h"

// With the install model loaded (and /D=, /M= applied): the destination checked and
// created, the companion asked to close, the copy, registration and system.ini; a failed
// entry aborts the run. Returns the exit code.
int RunSilentInstallation(const Switches& switches);

// With the install model loaded: the driver registered again for the chosen type,
// journalled beside the program. Returns the exit code.
int RunSilentSwitch(const Switches& switches);
