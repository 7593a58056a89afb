// The directory browser of SETUP_SELDIR: the platform's old-style open dialog with
// template 104, where only the path field, the directory list and the drive list serve.
#pragma once
#include <windows.h>

// Runs the browser owned by page. InstallDir holds the chosen directory when the user
// pressed OK and is left as it was otherwise.
void BrowseForDirectory(HWND page);

// Hook of the browser: keeps the path field in step with the directory the user opens.
// Always returns 0, so the dialog's own handling runs too.
UINT_PTR CALLBACK BrowseHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
