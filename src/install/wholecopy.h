// Copying one file whole or not at all: the data goes under a temporary name beside the
// destination and takes the destination's name only when every byte arrived, so a failed
// copy never leaves a cut file where an older one stood.
#pragma once
#include <windows.h>

// How a copy ended.
enum WholeCopyResult {
    WholeInPlace = 0,     // the destination holds the whole file
    WholeAtRestart = 1,   // the destination is in use: the whole file waits beside it under
                          // its temporary name, and wininit.ini puts it in place at the next start
    WholeDestFailed = 2,  // the destination cannot be created or written (no directory,
                          // write-protected, disk full), or the file cannot be put in place
    WholeDataShort = 3,   // the data did not arrive whole: damaged or cut packed data, a
                          // source that cannot be read
};

// The data arrived when LZCopy reports no error and wrote as many bytes as the source (an
// open LZ handle, expanded when packed) expands to; written gets what LZCopy returned. A
// failed copy removes what it wrote and leaves the destination as it was. The caller
// closes source.

// Creates path as a new file when no file stands there: its open handle, or
// INVALID_HANDLE_VALUE with existed saying whether a file stands there (1) or the path cannot
// be created at all (0).
HANDLE CreateNewFile(const char* path, int* existed);

// Copies source whole into dest, the new file that CreateNewFile made at path, and closes
// dest.
WholeCopyResult CopyWholeToNew(INT source, HANDLE dest, const char* path, LONG* written);

// Replaces the file at destPath: the new one is written under a temporary name beside it,
// then the old one deleted and the temporary one renamed (or, when the old one is in use,
// named in wininit.ini for the next start).
WholeCopyResult ReplaceWhole(INT source, const char* destPath, LONG* written);
