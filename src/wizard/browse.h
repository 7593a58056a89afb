// The directory browser of SETUP_SELDIR: the platform's old-style open dialog with
// template 104, where only the path field, the directory list and the drive list serve.
#pragma once
#include <windows.h>

// Runs the browser owned by page. InstallDir holds the chosen directory when the user
// pressed OK and is left as it was otherwise.
void BrowseForDirectory(HWND page);
