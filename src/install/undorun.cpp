#include <windows.h>

#include "install/undorun.h"

#include "install/installlog.h"
#include "install/removefile.h"
#include "install/wininit.h"
#include "registry/sharedcount.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "texts/log.h"

namespace {

// The lines from runLine to the end of the block, for a walk from the last.
const char** CollectLines(const char* runLine, long* count) {
    long n = 0;
    for (const char* line = runLine; line != nullptr; line = NextLogLine(line)) ++n;
    const char** lines =
        static_cast<const char**>(static_cast<void*>(GlobalAlloc(GMEM_FIXED, (n + 1) * sizeof(char*))));
    if (lines == nullptr) return nullptr;
    n = 0;
    for (const char* line = runLine; line != nullptr; line = NextLogLine(line)) lines[n++] = line;
    *count = n;
    return lines;
}

// What one line of the run did, undone. Only a line that decides what an entry did to a
// path counts: "New" then "Keep" of one path is a file replaced, not one made.
void UndoStep(const char* line) {
    char a[MAX_PATH], b[MAX_PATH];
    if (!LineDecides(line)) return;
    switch (SplitLogLine(line, a, MAX_PATH, b, MAX_PATH)) {
    case LogKeep:
        // Kept and not yet back: the file that stood there returns.
        if (!FileExists(b)) return;
        if (FileExists(a)) RemoveFileOrQueue(a);
        LogLine(MoveFileA(b, a) ? "put back " : "cannot be put back: ", a);
        return;
    case LogNew:
        // Made at its name (no second part), or it took the name when it is no longer where
        // it was written.
        if (!FileExists(b) && FileExists(a)) RemoveFileOrQueue(a);
        return;
    case LogMake:
        // Stopped before the file was the run's: an empty one there is what it made. A file
        // with contents stood there before.
        if (FileBytes(a) == 0) RemoveFileOrQueue(a);
        return;
    case LogShared:
        SetSharedUseCount(a, b[0] == '-' ? -1 : TextToLong(b));
        return;
    case LogQueue:
        // A file in use was to be replaced at the next start: it stays as it is.
        if (FileExists(b)) {
            if (UnqueueReplaceAtRestart(a, b)) LogLine("no longer replaced at the next start: ", a);
            DeleteFileA(b);
        }
        return;
    default:
        return;
    }
}

// Deletes the files directly in dir, then dir.
void RemoveDirectoryWithFiles(const char* dir) {
    char pattern[MAX_PATH];
    if (!TextJoin(pattern, MAX_PATH, dir, "\\*")) return;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(pattern, &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            char path[MAX_PATH];
            if (found.cFileName[0] == '.' || !TextJoin(path, MAX_PATH, dir, "\\", found.cFileName))
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryWithFiles(path);
            else
                DeleteFileA(path);
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(dir);
}

}  // namespace

void RemoveWorkDirectory(const char* dir) {
    // Only a directory of the work directory's own name: a damaged log names no other.
    int n = TextLength(dir), w = TextLength(kWorkDirName);
    if (n > w && TextLastBackslash(dir) == n - w - 1 &&
        TextEqualNoCase(dir + n - w, kWorkDirName) && DirectoryExists(dir))
        RemoveDirectoryWithFiles(dir);
}

void RemoveWorkDirectories(const char* block) {
    for (const char* line = block != nullptr && block[0] != 0 ? block : nullptr; line != nullptr;
         line = NextLogLine(line)) {
        char dir[MAX_PATH];
        if (SplitLogLine(line, dir, MAX_PATH) == LogWork) RemoveWorkDirectory(dir);
    }
}

int UndoOpenRun(const char* logPath) {
    char* block = ReadLogBlock(logPath);
    const char* run = block != nullptr ? OpenRun(block) : nullptr;
    long count = 0;
    const char** lines = run != nullptr ? CollectLines(run, &count) : nullptr;
    if (lines == nullptr) {
        if (block != nullptr) GlobalFree(block);
        return 0;
    }
    LogLine("putting back the run that did not complete: ", logPath);
    for (long i = count - 1; i >= 0; --i) UndoStep(lines[i]);

    // The run is closed before its work directories go: once they are gone, a new file's
    // line could no longer tell whether the file took its name.
    HANDLE h = CreateFileA(logPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    char line[32];
    DWORD put = 0;
    int closed = h != INVALID_HANDLE_VALUE && MakeLogLine(line, sizeof(line), LogUndone) &&
                 SetFilePointer(h, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
                 WriteFile(h, line, TextLength(line), &put, nullptr) &&
                 put == static_cast<DWORD>(TextLength(line));
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    if (closed) {
        RemoveWorkDirectories(run);
        // A log of no completed run records nothing that stays: it goes, and with it the
        // last file of a directory the run made.
        int committed = 0;
        for (const char* l = block; l != nullptr && !committed; l = NextLogLine(l))
            committed = SplitLogLine(l, nullptr, 0) == LogRun && RunCommitted(l);
        if (!committed) DeleteFileA(logPath);
        for (long i = count - 1; i >= 0; --i) {
            char dir[MAX_PATH];
            if (SplitLogLine(lines[i], dir, MAX_PATH) == LogDir && RemoveDirectoryA(dir))
                LogLine("removed ", dir);
        }
    }
    GlobalFree(lines);
    GlobalFree(block);
    return 1;
}

int FinishCopy(InstallLog* log, int completed) {
    if (log == nullptr) return completed;
    if (completed && !InstallLogWrite(log, LogDone)) completed = 0;
    if (completed) {
        // The copy stands: what was kept for an undo is of no more use.
        for (int i = 0; i < 2; ++i) {
            if (log->work[i][0] != 0) RemoveWorkDirectory(log->work[i]);
            log->work[i][0] = 0;
        }
        return 1;
    }
    if (log->file != INVALID_HANDLE_VALUE) CloseHandle(log->file);
    log->file = INVALID_HANDLE_VALUE;
    UndoOpenRun(log->path);
    InstallLogClose(log);
    return 0;
}
