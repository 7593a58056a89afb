// The install record of the installation under way (format in recordlines.h): what setup
// created and wrote, noted while the pages run and written as section [Installed] of
// InstallDir\SETUP.INF when the copy ends, after the lines of an earlier installation into
// the same directory, which keep their word (a file that an earlier installation made stays
// "New" when it is written again). The uninstaller removes what the record says was made.
#pragma once

#include "script/model.h"

// Notes a directory that setup has just created (the installation directory, a SubDir).
void RecordCreatedDirectory(const char* path);

// Notes the destination of entry e, just written at destPath; stood tells that a file stood
// there before. Nothing is noted when no file is there now or the record holds it already.
// A file of a Windows directory is counted in SharedDLLs when it is noted.
void RecordInstalledFile(const FileEntry& e, const char* destPath, int stood);

// Writes the record into InstallDir\SETUP.INF, the earlier installation's lines first, and
// lets go of what the run noted. A SETUP.INF that only the record makes is recorded as new.
void WriteInstallRecord();

// Section [Installed] of the script at scriptPath in a block of zero-ended lines that ends
// with an empty one; the caller frees it with GlobalFree. Null when the file cannot be read
// or holds no such section.
char* ReadInstallRecord(const char* scriptPath);
