#include <windows.h>

#include "install/wholecopy.h"

#include "install/wininit.h"
#include "runtime/fileexists.h"
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

// LZCopy's destination: a plain file handle, as LZOpenFileA gives for a file it creates.
static HFILE AsFileHandle(HANDLE h) { return static_cast<HFILE>(reinterpret_cast<INT_PTR>(h)); }

WholeCopyResult CopyWholeToNew(INT source, HANDLE dest, const char* path, LONG* written) {
    LONG expected = ExpandedSize(source);
    *written = expected >= 0 ? LZCopy(source, AsFileHandle(dest)) : -1;
    CloseHandle(dest);
    WholeCopyResult result = WholeInPlace;
    if (*written == LZERROR_WRITE)
        result = WholeDestFailed;
    else if (expected < 0 || *written != expected)
        result = WholeDataShort;  // bytes missing
    if (result != WholeInPlace) DeleteFileA(path);
    return result;
}

HANDLE CreateNewFile(const char* path, int* existed) {
    *existed = 0;
    if (path[0] == 0) return INVALID_HANDLE_VALUE;
    // One look at the directory both learns whether a file stands there and creates it.
    HANDLE h =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        *existed = GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS ||
                   FileExists(path);
    return h;
}

WholeCopyResult ReplaceWhole(INT source, const char* destPath, LONG* written) {
    *written = 0;
    char temp[MAX_PATH];
    if (!MakeTempBeside(destPath, temp)) return WholeDestFailed;
    // GetTempFileNameA made the file: it is opened again to be written.
    HANDLE h =
        CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DeleteFileA(temp);
        return WholeDestFailed;
    }
    WholeCopyResult result = CopyWholeToNew(source, h, temp, written);
    if (result != WholeInPlace) return result;
    // Windows 95 replaces no file in one step: the old one goes, then the new one is named.
    // An old file that cannot go is in use (a loaded driver): it is replaced at the next start.
    // A read-only one is write-protected, not in use, and a directory is no file to replace:
    // either stays, and the copy has failed.
    DWORD attributes =
        DeleteFileA(destPath) ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(destPath);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY;
        if ((attributes & kept) == 0 && QueueReplaceAtRestart(destPath, temp))
            return WholeAtRestart;
        DeleteFileA(temp);
        return WholeDestFailed;
    }
    if (MoveFileA(temp, destPath)) return WholeInPlace;
    DeleteFileA(temp);
    return WholeDestFailed;
}
