// The copying page's side of a copy run: status text, percentage and gauge drawn on the page,
// one message handled between the steps of an entry, the wait before the registration.
#pragma once
#include <windows.h>

// Copies everything while PageResult stays non-zero, logged in Shared::RunLog; after a
// complete copy shows "Updating Registry...", waits a second with the queue emptied, and
// calls RegisterProduct(1). A stop (the Cancel button, Abort) puts the run back and sets
// PageResult to 0.
void CopyFiles(HWND page);

// Tells a running copy that the page was painted over: its gauge fill is drawn again with
// the next entry. Nothing when no copy runs.
void GaugeCoveredByPaint();
