#include <windows.h>

#include "install/wholecopy.h"

#include "install/installlog.h"
#include "install/wininit.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"

// Prefix of the temporary name beside a file in use ("~SU1A2B.TMP"): short, so that the name
// is a short name of its own that wininit.ini can hold, and seen to be setup's.
static const char kTempPrefix[] = "~SU";

// The size the source expands to, its read position left at the start; -1 when unknown.
// LZSeek to the end gives the size the packed header records, or a plain file's size.
static LONG ExpandedSize(INT source) {
    LONG size = LZSeek(source, 0, 2);
    if (size < 0 || LZSeek(source, 0, 0) != 0) return -1;
    return size;
}

int PackedHeaderCut(const char* path, long size) {
    if (size < 4 || size >= 14) return 0;
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    char head[4];
    DWORD got = 0;
    int cut = ReadFile(file, head, sizeof(head), &got, nullptr) && got == sizeof(head) &&
              head[0] == 'S' && head[1] == 'Z' && head[2] == 'D' && head[3] == 'D';
    CloseHandle(file);
    return cut;
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

WholeCopyResult WriteNewWhole(InstallLog* log, INT source, const char* destPath, LONG* written) {
    *written = 0;
    // "Make" before the file exists, "New" once it is the run's: a run killed between the two
    // leaves an empty file at most, which the undo of a Make removes.
    if (!InstallLogWrite(log, LogMake, destPath)) return WholeDestFailed;
    HANDLE h = CreateFileA(destPath, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return InstallLogWrite(log, LogDrop, destPath) ? WholeNotMade : WholeDestFailed;
    if (!InstallLogWrite(log, LogNew, destPath)) {
        CloseHandle(h);
        DeleteFileA(destPath);
        return WholeDestFailed;
    }
    WholeCopyResult result = CopyWholeToNew(source, h, destPath, written);
    if (result != WholeInPlace) InstallLogWrite(log, LogDrop, destPath);
    return result;
}

// The step did not happen: the log says so before the whole file goes. When not even that
// can be written the file stays in the work directory, where it tells that the step was
// never taken, and goes with the directory.
static WholeCopyResult Dropped(InstallLog* log, const char* temp, const char* destPath,
                               WholeCopyResult result) {
    if (InstallLogWrite(log, LogDrop, destPath)) DeleteFileA(temp);
    return result;
}

// The older file is in use (a loaded driver): the whole new one moves beside it under a
// temporary name, which wininit.ini gives the file's name at the next start.
static WholeCopyResult ReplaceAtRestart(InstallLog* log, const char* temp, const char* destPath) {
    char dir[MAX_PATH], beside[MAX_PATH];
    if (!TextCopy(dir, MAX_PATH, destPath)) return Dropped(log, temp, destPath, WholeDestFailed);
    // Back to the last backslash of its own: a double-byte character's second byte may be 0x5C.
    int n = TextLength(dir);
    while (n > 0 && !(dir[n - 1] == '\\' && CharPrevA(dir, dir + n) == dir + n - 1))
        n = static_cast<int>(CharPrevA(dir, dir + n) - dir);
    dir[n] = 0;  // the directory with its backslash: "C:\" stays a root
    if (n == 0 || GetTempFileNameA(dir, kTempPrefix, 0, beside) == 0)
        return Dropped(log, temp, destPath, WholeDestFailed);
    if (!InstallLogWrite(log, LogQueue, destPath, beside)) {
        DeleteFileA(beside);
        return Dropped(log, temp, destPath, WholeDestFailed);
    }
    DeleteFileA(beside);
    if (MoveFileA(temp, beside) && QueueReplaceAtRestart(destPath, beside)) return WholeAtRestart;
    DeleteFileA(beside);
    return Dropped(log, temp, destPath, WholeDestFailed);
}

WholeCopyResult OverwriteWhole(InstallLog* log, INT source, const char* destPath, LONG* written,
                               int* tryTemp) {
    *tryTemp = 0;
    *written = 0;
    char kept[MAX_PATH];
    if (!MakeKeptName(log, destPath, kept)) return WholeDestFailed;
    if (!CopyFileA(destPath, kept, TRUE)) {
        DeleteFileA(kept);
        *tryTemp = 1;
        return WholeDestFailed;
    }
    if (!InstallLogWrite(log, LogKeep, destPath, kept)) {
        DeleteFileA(kept);
        return WholeDestFailed;
    }
    HANDLE h = CreateFileA(destPath, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        *tryTemp = GetLastError() == ERROR_SHARING_VIOLATION;
        if (InstallLogWrite(log, LogDrop, destPath)) DeleteFileA(kept);
        return WholeDestFailed;
    }
    // A copy that did not arrive whole removes what it wrote: the kept file takes its place
    // again, by name, needing no room.
    WholeCopyResult result = CopyWholeToNew(source, h, destPath, written);
    if (result != WholeInPlace && MoveFileA(kept, destPath)) InstallLogWrite(log, LogDrop, destPath);
    return result;
}

WholeCopyResult PlaceWhole(InstallLog* log, OwnFileGuard* guard, const char* sourcePath,
                           const char* temp, const char* destPath, int* stood) {
    *stood = 0;
    if (!InstallLogWrite(log, LogNew, destPath, temp)) return WholeDestFailed;
    // A rename that finds the name free makes a new file: one look at the directory, as the
    // creation of the file in place would take.
    if (MoveFileA(temp, destPath)) return WholeInPlace;
    DWORD attributes = GetFileAttributesA(destPath);
    if (attributes == INVALID_FILE_ATTRIBUTES)  // no such directory, a name it cannot hold
        return Dropped(log, temp, destPath, WholeDestFailed);
    *stood = 1;
    // A read-only file is write-protected, not in use, and a directory is no file to
    // replace: either stays, and the copy has failed.
    if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return Dropped(log, temp, destPath, WholeDestFailed);
    // Installed into the package's own directory, a file can be its own destination: it is
    // in place already. The directory may be named otherwise than the package's ("..", an
    // 8.3 alias): the file system decides.
    if (IsOwnDestination(guard, sourcePath, destPath))
        return Dropped(log, temp, destPath, WholeOwnFile);

    char kept[MAX_PATH];
    if (!MakeKeptName(log, destPath, kept)) return Dropped(log, temp, destPath, WholeDestFailed);
    // The older file is copied aside whole before the log says that it is kept; one that
    // cannot even be read is held by a program that runs, and is replaced at the next start.
    if (!CopyFileA(destPath, kept, TRUE)) {
        DeleteFileA(kept);
        return ReplaceAtRestart(log, temp, destPath);
    }
    if (!InstallLogWrite(log, LogKeep, destPath, kept)) {
        DeleteFileA(kept);
        return Dropped(log, temp, destPath, WholeDestFailed);
    }
    // The new contents are written over the older file where it stands: its name is found
    // at once, where a new name would be looked up among every file of the directory.
    if (CopyFileA(temp, destPath, FALSE)) {
        DeleteFileA(temp);
        return WholeInPlace;
    }
    if (GetLastError() == ERROR_SHARING_VIOLATION) return ReplaceAtRestart(log, temp, destPath);
    // Cut short (a full disk): the kept file takes its place again, by name, needing no room.
    DeleteFileA(destPath);
    if (!MoveFileA(kept, destPath)) return WholeDestFailed;  // the undo puts it back
    return Dropped(log, temp, destPath, WholeDestFailed);
}
