// The journal of replaced registry values ([PS2] and [Serial] of InstallDir\SETUP.INF) kept
// across a copy of a package's SETUP.INF over it: a second installation must not lose the
// values from before the first one. The record of a setup from before the install log
// ([Installed]) is kept the same way; a record section that comes with the package is dropped.
#pragma once

#include "script/model.h"

// 1 when entry e, bound for destPath, is the journal's file.
int IsJournalFile(const FileEntry& e, const char* destPath);

// Writes the journal and record sections of the file at destPath (when there is one) into
// the whole new copy at newPath, in place of any record section of the copy, before the copy
// takes the name. Returns 1 when every section is in newPath; on 0 the copy must not replace
// destPath.
int MergeJournalInto(const char* newPath, const char* destPath);
