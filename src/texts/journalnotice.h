// The notice that the journal could not be written and the mouse driver was therefore not
// switched.
#pragma once
#include <windows.h>

// Shows the journal's path (the SETUP.INF of InstallDir) followed by string
// IDS_JOURNAL_LOST, owned by owner (or none), caption SetupCaption, exclamation icon, OK.
void ShowJournalLost(HWND owner);
