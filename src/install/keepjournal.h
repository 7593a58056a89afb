// The journal of replaced registry values ([PS2] and [Serial] of InstallDir\SETUP.INF) and
// the install record ([Installed]) kept across a copy of a package's SETUP.INF over it: a
// second installation must not lose the values from before the first one, nor what the first
// one made; a record section that comes with the package is dropped.
#pragma once

#include "script/model.h"

// When entry e copies to the journal's file: its journal and record sections, read into a
// block for RestoreJournal (empty ones when the file does not exist yet). Otherwise nullptr.
char* SaveJournal(const FileEntry& e, const char* destPath);

// Writes the sections saved by SaveJournal into the journal's file (now the new copy), in
// place of any record section of the copy, and frees the block. Does nothing for nullptr.
void RestoreJournal(char* saved);
