#include <windows.h>

#include "install/installlog.h"

#include "install/destdir.h"
#include "install/installrecord.h"
#include "install/recordlines.h"
#include "install/systemini.h"
#include "install/undorun.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "script/destination.h"
#include "texts/log.h"

InstallLog* Shared::RunLog;

enum { kLogLineWidth = 2 * MAX_PATH + 16, kBucketFiles = 100 };

namespace {

// The full form of path into out (width wide); 0 when it does not fit.
int FullPath(const char* path, char* out, int width) {
    char full[MAX_PATH];
    char* name;
    DWORD length = GetFullPathNameA(path, MAX_PATH, full, &name);
    if (length == 0 || length >= MAX_PATH) return 0;
    return TextCopy(out, width, full);
}

// 1 when the first n bytes of path end in a backslash of its own, not in the second byte of
// a double-byte character (code page 932 has many whose second byte is 0x5C).
int EndsInSeparator(const char* path, int n) {
    return n > 0 && path[n - 1] == '\\' && CharPrevA(path, path + n) == path + n - 1;
}

// Which work directory serves destPath: 0 on the installation's drive, 1 on another.
int WorkIndex(const InstallLog* log, const char* destPath) {
    char a = destPath[0], b = log->dir[0];
    if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
    if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
    return a == b && destPath[1] == ':' ? 0 : 1;
}

// The work directory for destPath, made (and logged before) when it is not there yet.
const char* WorkDir(InstallLog* log, const char* destPath) {
    int index = WorkIndex(log, destPath);
    char* work = log->work[index];
    if (work[0] != 0) return work;
    // Off the installation's drive the work directory goes into the Windows directory (the
    // destinations there are its directories), or else beside the destination.
    char dir[MAX_PATH];
    if (index == 0) {
        TextCopy(dir, MAX_PATH, log->dir);
    } else if (Shared::WindowsDir[0] != 0 && (Shared::WindowsDir[0] | 32) == (destPath[0] | 32)) {
        TextCopy(dir, MAX_PATH, Shared::WindowsDir);
    } else {
        if (!TextCopy(dir, MAX_PATH, destPath)) return nullptr;
        int n = TextLength(dir);
        while (n > 0 && !EndsInSeparator(dir, n)) n = static_cast<int>(CharPrevA(dir, dir + n) - dir);
        if (n < 3) return nullptr;
        dir[n - 1] = 0;
    }
    char made[MAX_PATH];
    int n = TextLength(dir);
    if (!TextJoin(made, MAX_PATH, dir, EndsInSeparator(dir, n) ? "" : "\\", kWorkDirName))
        return nullptr;
    // Logged even when it stands there already: what the run puts in it must go.
    if (!InstallLogWrite(log, LogWork, made)) return nullptr;
    if (!CreateDirectoryA(made, nullptr) && !DirectoryExists(made)) return nullptr;
    TextCopy(work, MAX_PATH, made);
    return work;
}

// Writes a Dir line for each level of the installation directory from first (a level setup
// made) down to the directory itself, the outermost first, as they were made. Nothing when
// first is empty or no level of the directory.
int LogMadeLevels(InstallLog* log, const char* first) {
    if (first[0] == 0) return 1;
    int on = 0;
    for (int end = NextDirLevel(log->dir, 3); end > 0; end = NextDirLevel(log->dir, end)) {
        char level[kDirWidth];
        if (end >= kDirWidth) return 0;
        for (int i = 0; i < end; ++i) level[i] = log->dir[i];
        level[end] = 0;
        if (!on) on = TextSamePathNoCase(level, first);
        if (on && !InstallLogWrite(log, LogDir, level)) return 0;
    }
    return 1;
}

}  // namespace

void InstallLogInit(InstallLog* log) {
    ZeroBytes(log, sizeof(*log));
    log->file = INVALID_HANDLE_VALUE;
}

char* ReadLogBlock(const char* path, long* lines) {
    if (lines != nullptr) *lines = 0;
    long size = 0;
    char* block = ReadWholeFile(path, 0x0FFFFFFFu, 2, &size);
    if (block == nullptr) return nullptr;
    LogBlockFromBytes(block, size);
    if (lines != nullptr)
        for (const char* line = block[0] != 0 ? block : nullptr; line != nullptr;
             line = NextLogLine(line))
            ++*lines;
    return block;
}

int LogBelongsTo(const char* block, const char* dir) {
    char named[MAX_PATH];
    return block != nullptr && block[0] != 0 &&
           SplitLogLine(block, named, MAX_PATH) == LogDirectory && TextSamePathNoCase(named, dir);
}

int InstallLogStart(InstallLog* log, const char* installDir, const char* createdDir) {
    if (log == nullptr) return 0;
    InstallLogClose(log);
    if (!FullPath(installDir, log->dir, kDirWidth)) return 0;
    int n = TextLength(log->dir);
    while (n > 3 && EndsInSeparator(log->dir, n)) log->dir[--n] = 0;  // "C:\" stays a root
    if (!TextJoin(log->path, MAX_PATH, log->dir, n > 3 ? "\\" : "", kLogFileName)) return 0;
    FinishInterruptedSwitch();
    char* block = ReadLogBlock(log->path);
    if (block != nullptr && LogBelongsTo(block, log->dir)) {
        // A run that never ended is put back before this one begins.
        if (OpenRun(block) != nullptr) UndoOpenRun(log->path);
        RemoveWorkDirectories(block);
    } else if (block != nullptr && SplitLogLine(block, nullptr, 0) == LogDirectory) {
        DeleteFileA(log->path);  // another directory's log, copied here: no record of this one
    } else if (FileExists(log->path)) {
        // A file of the log's name that is none of setup's is somebody's: it stays, and
        // without a log nothing is installed.
        LogLine("a file that is no install log stands at ", log->path, ": nothing is installed");
        if (block != nullptr) GlobalFree(block);
        return 0;
    }
    if (block != nullptr) GlobalFree(block);

    // The first level of the directory that this run made: before the log could exist, or
    // now, when the undo took away the levels that the killed run had made.
    char first[kDirWidth];
    TextCopy(first, kDirWidth, createdDir != nullptr ? createdDir : "");
    if (!DirectoryExists(log->dir)) {
        char madeNow[kDirWidth];
        if (!CreateDirectoryLevels(log->dir, madeNow, kDirWidth)) return 0;
        if (first[0] == 0 || TextLength(madeNow) < TextLength(first))
            TextCopy(first, kDirWidth, madeNow);
    }
    log->file = CreateFileA(log->path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log->file == INVALID_HANDLE_VALUE) return 0;
    int fresh = GetLastError() != ERROR_ALREADY_EXISTS;
    SetFilePointer(log->file, 0, nullptr, FILE_END);
    log->earlier = ReadLogBlock(log->path);
    log->oldRecord = ReadOwnInstallRecord(log->dir);
    for (const char* line = log->earlier; line != nullptr && line[0] != 0 && !log->reinstall;
         line = NextLogLine(line))
        log->reinstall = SplitLogLine(line, nullptr, 0) == LogRun && RunCommitted(line);
    if (log->oldRecord != nullptr) log->reinstall = 1;
    if (fresh && !InstallLogWrite(log, LogDirectory, log->dir)) return 0;
    if (!InstallLogWrite(log, LogRun)) return 0;
    if (!LogMadeLevels(log, first)) return 0;
    LogLine("install log: ", log->path);
    return 1;
}

int InstallLogWrite(InstallLog* log, LogWord word, const char* a, const char* b) {
    char line[kLogLineWidth];
    if (log == nullptr || log->file == INVALID_HANDLE_VALUE ||
        !MakeLogLine(line, kLogLineWidth, word, a, b))
        return 0;
    DWORD end = SetFilePointer(log->file, 0, nullptr, FILE_END);
    DWORD length = static_cast<DWORD>(TextLength(line));
    DWORD put = 0;
    if (end != INVALID_SET_FILE_POINTER && WriteFile(log->file, line, length, &put, nullptr) &&
        put == length)
        return 1;
    // A line cut short (a full disk) would run into the next one: it is taken off.
    if (end != INVALID_SET_FILE_POINTER) {
        SetFilePointer(log->file, static_cast<LONG>(end), nullptr, FILE_BEGIN);
        SetEndOfFile(log->file);
    }
    LogLine("the install log cannot be written: ", log->path);
    return 0;
}

int InstallLogEarlierHolds(const InstallLog* log, const char* path) {
    if (log->oldRecord != nullptr && RecordHolds(log->oldRecord, path)) return 1;
    if (log->earlier == nullptr) return 0;
    int committed = 0;
    for (const char* line = log->earlier[0] != 0 ? log->earlier : nullptr; line != nullptr;
         line = NextLogLine(line)) {
        char named[MAX_PATH];
        LogWord w = SplitLogLine(line, named, MAX_PATH);
        if (w == LogRun) committed = RunCommitted(line);
        if (committed && (w == LogNew || w == LogKeep || w == LogQueue || w == LogShared) &&
            TextEqualNoCase(named, path) && LineDecides(line))
            return 1;
    }
    return 0;
}

int InstallLogEarlierHas(const InstallLog* log, LogWord word) {
    return log->earlier != nullptr && CommittedLine(log->earlier, word);
}

void InstallLogClose(InstallLog* log) {
    if (log->file != INVALID_HANDLE_VALUE && log->file != nullptr) CloseHandle(log->file);
    if (log->earlier != nullptr) GlobalFree(log->earlier);
    if (log->oldRecord != nullptr) GlobalFree(log->oldRecord);
    log->file = INVALID_HANDLE_VALUE;
    log->earlier = log->oldRecord = nullptr;
}

HANDLE CreateWorkFile(InstallLog* log, const char* destPath, char* temp) {
    const char* work = WorkDir(log, destPath);
    if (work == nullptr) return INVALID_HANDLE_VALUE;
    // The work directory is the run's own: its files need no line of their own.
    for (int tries = 0; tries < 100; ++tries) {
        char number[16];
        TextFromInt(number, sizeof(number), ++log->names);
        if (!TextJoin(temp, MAX_PATH, work, "\\T", number, ".TMP")) break;
        HANDLE h = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        if (h != INVALID_HANDLE_VALUE) return h;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    temp[0] = 0;
    return INVALID_HANDLE_VALUE;
}

int MakeKeptName(InstallLog* log, const char* destPath, char* kept) {
    const char* work = WorkDir(log, destPath);
    if (work == nullptr) return 0;
    // A hundred kept files to a directory: every new name is looked up among few.
    char bucket[MAX_PATH], number[16], name[16];
    TextFromInt(number, sizeof(number), log->kept / kBucketFiles, 3);
    TextFromInt(name, sizeof(name), log->kept, 4);
    if (!TextJoin(bucket, MAX_PATH, work, "\\K", number) ||
        !TextJoin(kept, MAX_PATH, bucket, "\\K", name, ".TMP"))
        return 0;
    if (log->kept % kBucketFiles == 0 && !DirectoryExists(bucket) &&
        !CreateDirectoryA(bucket, nullptr))
        return 0;
    ++log->kept;
    return 1;
}
