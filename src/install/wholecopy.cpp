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

// Writes the whole expanded source into path, its byte count into written. Returns how it
// went: WholeInPlace for a whole file. A file that is not whole is deleted.
static WholeCopyResult WriteWhole(INT source, const char* path, LONG* written) {
    LONG expected = ExpandedSize(source);
    if (expected < 0) return WholeDataShort;
    OFSTRUCT scratch;
    INT dest = LZOpenFileA(const_cast<LPSTR>(path), &scratch, OF_CREATE);
    if (dest < 0) return WholeDestFailed;
    *written = LZCopy(source, dest);
    LZClose(dest);
    WholeCopyResult result = WholeInPlace;
    if (*written == LZERROR_WRITE) result = WholeDestFailed;
    else if (*written != expected) result = WholeDataShort;  // an error, or bytes missing
    if (result != WholeInPlace) DeleteFileA(path);
    return result;
}

WholeCopyResult CopyWhole(INT source, const char* destPath, int existed, LONG* written) {
    *written = 0;
    if (destPath[0] == 0) return WholeDestFailed;
    // Where no file stood, there is nothing to keep: the file is written under its own name,
    // and removed again when it did not arrive whole.
    if (!existed) return WriteWhole(source, destPath, written);
    char temp[MAX_PATH];
    if (!MakeTempBeside(destPath, temp)) return WholeDestFailed;
    WholeCopyResult result = WriteWhole(source, temp, written);
    if (result != WholeInPlace) return result;
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
