// Running UNINSTAL.EXE as a user would: its questions answered, its exit code read.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The UNINSTAL.EXE built beside the SETUP.EXE under test, as a Windows path.
std::string UninstallerUnderTest();

// Runs the UNINSTAL.EXE at path and answers its first question with firstAnswer (IDYES or
// IDNO) and the restart offer, when it comes, with restart; a box with OK alone (before the
// offer) gets OK.
// Caption and text of each box go to texts. Returns the exit code, STILL_ACTIVE when the
// program did not start or did not end.
DWORD RunUninstaller(const std::string& path, int firstAnswer,
                     std::vector<std::string>* texts = nullptr, int restart = IDNO);
