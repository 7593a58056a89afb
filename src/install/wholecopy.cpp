#include <windows.h>

#include "install/wholecopy.h"

#include "install/wininit.h"
#include "runtime/text.h"

// Prefix of the temporary names ("~SU1A2B.TMP"): short, so that the name is a short name
// of its own that wininit.ini can hold, and seen to be setup's.
static const char kTempPrefix[] = "~SU";

// The size the source expands to, its read position left at the start; -1 when unknown.
// LZSeek to the end gives the size the packed header records, or a plain file's size.
static LONG ExpandedSize(INT source) {
    LONG size = LZSeek(source, 0, 2);
    if (size < 0 || LZSeek(source, 0, 0) != 0) return -1;
    return size;
}

// A new empty file beside destPath with a name of its own, into temp (MAX_PATH wide).
static int MakeTempBeside(const char* destPath, char* temp) {
    char dir[MAX_PATH];
    if (!TextCopy(dir, MAX_PATH, destPath)) return 0;
    int n = TextLength(dir);
    while (n > 0 && dir[n - 1] != '\\') --n;
    if (n == 0) return 0;
    dir[n] = 0;  // the directory with its backslash: "C:\" stays a root
    return GetTempFileNameA(dir, kTempPrefix, 0, temp) != 0;
}

// Writes the whole expanded source into temp. Returns how it went: WholeInPlace for a
// whole file.
static WholeCopyResult WriteTemp(INT source, const char* temp) {
    LONG expected = ExpandedSize(source);
    if (expected < 0) return WholeDataShort;
    OFSTRUCT scratch;
    INT dest = LZOpenFileA(const_cast<LPSTR>(temp), &scratch, OF_CREATE);
    if (dest < 0) return WholeDestFailed;
    LONG written = LZCopy(source, dest);
    LZClose(dest);
    if (written == LZERROR_WRITE) return WholeDestFailed;
    if (written != expected) return WholeDataShort;  // an error, or fewer bytes than recorded
    return WholeInPlace;
}

WholeCopyResult CopyWhole(INT source, const char* destPath) {
    char temp[MAX_PATH];
    if (destPath[0] == 0 || !MakeTempBeside(destPath, temp)) return WholeDestFailed;
    WholeCopyResult result = WriteTemp(source, temp);
    if (result != WholeInPlace) {
        DeleteFileA(temp);
        return result;
    }
    // Windows 95 replaces no file in one step: the old one goes, then the new one is named.
    // An old file that cannot go is in use (a loaded driver): it is replaced at the next start.
    if (!DeleteFileA(destPath) && GetFileAttributesA(destPath) != INVALID_FILE_ATTRIBUTES) {
        if (QueueReplaceAtRestart(destPath, temp)) return WholeAtRestart;
        DeleteFileA(temp);
        return WholeDestFailed;
    }
    if (MoveFileA(temp, destPath)) return WholeInPlace;
    DeleteFileA(temp);
    return WholeDestFailed;
}
