// The files of the installation: every file the script's file lines installed, then the
// directories left empty, then the installation directory.
#pragma once

// Removes what the file lines of the loaded script copied (InstallDir is the installation
// directory); a file that cannot be removed now (in use, such as the running uninstaller)
// is queued for removal at the next start of Windows. A file that can neither go nor be
// queued stays: its path goes into left (width wide), one a line, "..." when no more fit.
// Returns the number of files that stay.
int RemoveInstalledFiles(char* left, int width);
