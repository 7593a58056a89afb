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

// Copies the open LZ handle source (expanded when packed) to destPath; existed: a file
// stands there. The data arrived when LZCopy reports no error and wrote as many bytes as
// the source expands to (written: what LZCopy returned). An older file is replaced only
// then: the new one is written under a temporary name beside it, the old one deleted and
// the temporary one renamed. A new file is written under its own name. A failed copy
// removes what it wrote and leaves destPath as it was. The caller closes source.
WholeCopyResult CopyWhole(INT source, const char* destPath, int existed, LONG* written);
