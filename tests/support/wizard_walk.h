// Walking the wizard of a started SETUP.EXE as a user would, with clicks on Next: to one
// page, or to the end.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "resource.h"
#include "support/ui.h"

// Walks a started SETUP.EXE from the welcome page to the page of class pageClass
// ("SETUP_BEGIN", "SETUP_SELMOUSE" or "SETUP_SELDIR"): waits for each page before it (up
// to timeoutMs), clicks its Next and waits until it has closed. On the mouse page, when the
// walk goes past it, it first chooses mouseChoice (IDC_PS2 or IDC_SERIAL; 0 keeps the
// default). visit, when given, sees every page of the walk as it appears, the last
// included. Returns the page of pageClass, waiting for input, or null when the walk stopped.
HWND WalkTo(const char* pageClass, int mouseChoice = 0, DWORD timeoutMs = 20000,
            const std::function<void(HWND)>& visit = nullptr);

// In the -u mode of a started SETUP.EXE: chooses the mouse (IDC_PS2 or IDC_SERIAL) on its
// one page and clicks Next. Returns the message box that follows, or null when a step failed.
HWND SwitchModeChoose(const RunningProgram& setup, int mouseChoice);

// Walks a started SETUP.EXE from the welcome page to the end with Next on every page,
// choosing the mouse (IDC_PS2 or IDC_SERIAL) and, on the finish page, IDC_RESTART_NOW or
// IDC_RESTART_LATER. Returns "" when the program ended with code 0, otherwise where the
// walk stopped.
std::string WalkWizard(RunningProgram& setup, int mouseChoice, int restartChoice);

// Starts the package's SETUP.EXE and walks it; "" on success, as WalkWizard.
std::string InstallWith(const std::string& setupExe, int mouseChoice,
                        int restartChoice = IDC_RESTART_LATER);
