// The copy engine of the install page: every entry of every disk from the source tree to
// its destination, expanded by the LZ library, with status, percentage and gauge on the
// page, and the product registration at the end.
#pragma once
#include <windows.h>

extern INT SourceHandle;  // LZ handle of the source being copied; negative when none is open
extern int GaugePainted;  // set when the page was painted: its gauge fill must be drawn again

// Creates SubDir1 ... SubDir6 below InstallDir, one level each; failures pass unnoticed.
void MakeSubDirectories();

// Copies everything while PageResult stays non-zero, shows "Updating Registry...", waits a
// second with the queue emptied, and calls RegisterProduct(1), however the copy ended.
void CopyFiles(HWND page);

// Opens the source (an empty path fails as if the platform had refused it), then
// PumpOnce. Returns PumpOnce's report.
int OpenSource(HWND page, const char* path);

// With an open source: creates the destination (emptying an existing file), copies,
// closes both. Without one nothing is created or emptied. Then PumpOnce; returns its report.
int CopyToDest(HWND page, const char* path);

// Handles at most one message of the page or its controls. 0 when it took the Cancel
// button's command out of the queue (not dispatched), else 1.
int PumpOnce(HWND page);
