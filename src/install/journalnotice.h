// The notice that the journal could not be written and the mouse driver was therefore not
// switched.
#pragma once
#include <windows.h>

// Says that the journal of journalDir could not be written: a line in the log and, unless
// quiet (an unattended run), a box with the path of that journal (its SETUP.INF) followed by
// string IDS_JOURNAL_LOST, owned by owner (or none), caption SetupCaption, exclamation
// icon, OK.
void ReportJournalLost(HWND owner, const char* journalDir, int quiet = 0);
