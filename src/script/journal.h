// The journal of replaced registry values: sections [PS2] and [Serial] of the SETUP.INF in
// a directory the caller names (the installation directory; with -u the package's own).
// A key, once recorded, is never written again: an empty value records a value that did not
// exist.
#pragma once

enum { kJournalWidth = 128 };

enum { kJournalPathWidth = 80 };

// The journal's sections, one per mouse type registered. Each name is also the MouseType
// value of the driver class key written for that type.
#define JOURNAL_SECTION_PS2 "PS2"
#define JOURNAL_SECTION_SERIAL "Serial"

// dir + "\SETUP.INF" into path (kJournalPathWidth wide). A dir too long for the path, or
// none at all, leaves it empty and gives 0: the journal is then neither read nor written,
// rather than going to a file of a cut name or to "\SETUP.INF" in the root of the current
// drive.
int JournalPath(char* path, const char* dir);

// The value of key in section of dir\SETUP.INF, or def when the file, section or key is
// missing, cut to 127 characters. The result lives in a buffer of the journal's until the
// next call.
const char* JournalRead(const char* dir, const char* section, const char* key, const char* def);

// 1 when the journal of dir holds key in section, empty or not.
int JournalHolds(const char* dir, const char* section, const char* key);

// Records value under key in section of dir\SETUP.INF while the key is missing, and reads
// the record back from the file. A value that the profile functions would give back changed
// (blanks at an end, wrapped in quotes) is written inside double quotes, so that JournalRead
// returns it exactly. Returns 1 when the key is recorded (now or before), 0 when the record
// could not be made (no journal path, a read-only medium, a full disk): the caller then
// must not replace the value.
int JournalWrite(const char* dir, const char* section, const char* key, const char* value);

// Drops the profile cache's copy of the script file at path: it is written out where it
// has unsaved changes, and read again from the disk at the next call.
void FlushProfile(const char* path);
