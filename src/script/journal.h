// The journal of replaced registry values: sections [PS2] and [Serial] of the SETUP.INF in
// InstallDir. A key, once it holds a non-empty value, is never written again.
#pragma once

enum { kJournalWidth = 128 };

enum { kJournalPathWidth = 80 };

// InstallDir + "\SETUP.INF" into path (kJournalPathWidth wide). An InstallDir too long for
// the path, or none at all, leaves it empty and gives 0: the journal is then neither read
// nor written, rather than going to a file of a cut name or to "\SETUP.INF" in the root of
// the current drive.
int JournalPath(char* path);

// The value of key in section of InstallDir\SETUP.INF, or def when the file, section or key
// is missing, cut to 127 characters. The result lives in a buffer of the journal's until the next call.
const char* JournalRead(const char* section, const char* key, const char* def);

// Records value under key in section while the key is missing or empty. A value that the
// profile functions would give back changed (blanks at an end, wrapped in quotes) is written
// inside double quotes, so that JournalRead returns it exactly.
void JournalWrite(const char* section, const char* key, const char* value);
