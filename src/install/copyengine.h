// The copy engine of the install page: every entry of every disk from the source tree to
// its destination, expanded by the LZ library, with status, percentage and gauge on the
// page, and the product registration at the end.
#pragma once
#include <windows.h>

// Creates SubDir1 ... SubDir6 below InstallDir, one level each; failures pass unnoticed.
void MakeSubDirectories();

// Copies everything while PageResult stays non-zero, shows "Updating Registry...", waits a
// second with the queue emptied, and calls RegisterProduct(1), however the copy ended.
void CopyFiles(HWND page);

// Tells a running copy that the page was painted over: its gauge fill is drawn again with
// the next entry. Nothing when no copy runs.
void GaugeCoveredByPaint();
