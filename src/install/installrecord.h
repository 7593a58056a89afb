// The install record of a setup from before the install log: section [Installed] of the
// installation's SETUP.INF (format in recordlines.h). Setup no longer writes it; an
// installation that has one is still uninstalled by it, and a reinstall keeps it.
#pragma once

// The record in dir\SETUP.INF when its Directory line names dir itself (the file system
// decides: another name of the directory counts); the caller frees it with GlobalFree. Null
// when there is none, or it is another directory's (a SETUP.INF copied from elsewhere).
char* ReadOwnInstallRecord(const char* dir);

// Section [Installed] of the script at scriptPath in a block of zero-ended lines that ends
// with an empty one; the caller frees it with GlobalFree. Null when the file cannot be read
// or holds no such section.
char* ReadInstallRecord(const char* scriptPath);
