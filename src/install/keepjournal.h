// The journal of replaced registry values ([PS2] and [Serial] of InstallDir\SETUP.INF) kept
// across a copy of a package's SETUP.INF over it: a second installation must not lose the
// values from before the first one.
#pragma once

#include "script/model.h"

// When entry e copies to the journal's file and that file exists with a journal in it: the
// journal's sections, read into a block for RestoreJournal. Otherwise nullptr.
char* SaveJournal(const FileEntry& e, const char* destPath);

// Writes the sections saved by SaveJournal into the journal's file (now the new copy) and
// frees the block. Does nothing for nullptr.
void RestoreJournal(char* saved);
