// The first and the last step of SETUP.EXE and UNINSTAL.EXE run with switches: the tail
// read, the list of switches shown when asked for (or, without /S, when a switch is
// refused), the log opened with the command line as its first line; at the end the exit
// code logged and the log closed.
#pragma once

#include "runtime/switches.h"

// Reads tail into out. Returns -1 when the run goes on, else the exit code to end with at
// once: 0 after /? (the list shown), ExitBadSwitch, ExitNoLog (nothing changed). The list
// is the string-table text listId, in a box captioned caption.
int StartWithSwitches(const char* tail, SwitchSet set, Switches* out, unsigned listId,
                      const char* caption);

// Logs "exit code <code>" and closes the log. Returns code.
int EndRun(int code);
