// The install record of a setup from before the install log: section [Installed] of the
// installation's SETUP.INF (format in recordlines.h). Setup no longer writes it; an
// installation that has one is still uninstalled by it, and a reinstall keeps it.
#pragma once

// Section [Installed] of the script at scriptPath in a block of zero-ended lines that ends
// with an empty one; the caller frees it with GlobalFree. Null when the file cannot be read
// or holds no such section.
char* ReadInstallRecord(const char* scriptPath);
