// The notice that the journal could not be written and the mouse driver was therefore not
// switched.
#pragma once
#include <windows.h>

// Shows the path of the journal of journalDir (its SETUP.INF) followed by string
// IDS_JOURNAL_LOST, owned by owner (or none), caption SetupCaption, exclamation icon, OK.
void ShowJournalLost(HWND owner, const char* journalDir);
