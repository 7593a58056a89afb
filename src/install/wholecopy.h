// Copying one file whole or not at all, every step logged before it is taken: a new file is
// made at its name, and what did not arrive whole is removed; a file that stood there is first
// copied whole into the work directory, so that a run that stops can put it back. A failed
// copy never leaves a cut file where an older one stood.
#pragma once
#include <windows.h>

#include "install/samefile.h"

struct InstallLog;

// How a copy ended.
enum WholeCopyResult {
    WholeInPlace = 0,     // the destination holds the whole file
    WholeAtRestart = 1,   // the destination is in use: the whole file waits beside it under
                          // a temporary name, and wininit.ini puts it in place at the next start
    WholeDestFailed = 2,  // the destination cannot be created or written (no directory,
                          // write-protected, disk full, the log cannot be written)
    WholeDataShort = 3,   // the data did not arrive whole: damaged or cut packed data, a
                          // source that cannot be read
    WholeOwnFile = 4,     // the destination is the source itself: it stays as it is
    WholeNotMade = 5,     // a new file could not be made at its name: nothing was done
};

// 1 when the file at path begins with the packed format's signature but ends within its
// 14-byte header (size, what the LZ library reads of it, is under 14): the library then
// takes it for a plain file, and its bytes are no file's contents.
int PackedHeaderCut(const char* path, long size);

// The data arrived when LZCopy reports no error and wrote as many bytes as the source (an
// open LZ handle, expanded when packed) expands to; written gets what LZCopy returned. A
// failed copy removes what it wrote. Closes dest, the new file at path.
WholeCopyResult CopyWholeToNew(INT source, HANDLE dest, const char* path, LONG* written);

// A new file at destPath, where no file stands: made with its name (one look at the
// directory, where a file written elsewhere and renamed would take two), then the source's
// data written into it. A run killed on the way leaves the log to say so: the undo removes
// the file. WholeNotMade when the name is taken or cannot be created: the copy then goes by
// way of the work directory, which deals with a file that stands there.
WholeCopyResult WriteNewWhole(InstallLog* log, INT source, const char* destPath, LONG* written);

// Over the file that stands at destPath (not read-only, not the source itself), after a copy
// of it is kept for the undo: the source's data written in place, whole or not at all. Its
// name is found at once, where a new one would be looked up among every file of the
// directory. WholeDestFailed with *tryTemp set when the file cannot be written where it
// stands (in use): nothing was done, and the copy goes by way of the work directory.
WholeCopyResult OverwriteWhole(InstallLog* log, INT source, const char* destPath, LONG* written,
                               int* tryTemp);

// Gives the whole file temp (in the work directory) the name destPath: as a new file, or
// written over one that stood there (stood gets 1), of which a copy is kept for the undo; an
// older file in use is replaced at the next start. sourcePath is the entry's source, for the package
// installed into its own directory. temp is gone afterwards, unless the log failed.
WholeCopyResult PlaceWhole(InstallLog* log, OwnFileGuard* guard, const char* sourcePath,
                           const char* temp, const char* destPath, int* stood);
