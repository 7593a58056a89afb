// The traps a package's author falls into that the loader passes over without a word:
// keys SETUP.EXE never reads, and [Startup] names of files and INF sections that the
// package does not install. No Windows call; each reports through report.h.
#pragma once

// A key SETUP.EXE reads in a section, and the value it takes when the key is missing.
struct KnownKey {
    const char* Name;
    const char* Default;  // as the report shows it
};

// Index of the known key that key probably means: at most two letters added, left out,
// changed or swapped, letter case aside (the profile functions ignore it); -1 for none.
int NearestKey(const char* key, const KnownKey known[], int knownCount);

// Each key of [section] (keys: names ending in a zero, the list in an empty name) that is
// none of known[]: an error when it probably means a known key that the section lacks,
// else a warning.
void CheckSectionKeys(const char* section, const char* keys, const KnownKey known[],
                      int knownCount);

// Index into Shared::FileTable of the first entry that installs a file named name (any
// destination, letter case aside), or -1.
int EntryInstalling(const char* name);

// [Startup] MouseDriver or MouseInf (at place, named key): a file that some line installs.
void CheckProfileFileInstalled(const char* place, const char* key, const char* name);

// 1 when text (an INF file's, lines ending in CR LF or LF) has the section "[section]",
// letter case and blanks aside.
int InfHasSection(const char* text, const char* section);

// [Startup] PS2InfSection or SerialInfSection (at place): a section of the INF file infName
// that the package installs, whose text is infText.
void CheckInfSection(const char* place, const char* section, const char* infName,
                     const char* infText);
