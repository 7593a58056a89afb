#include <windows.h>

#include "uninstall/removefiles.h"

#include "install/installlog.h"
#include "uninstall/madeset.h"
#include "install/installrecord.h"
#include "install/recordlines.h"
#include "install/removefile.h"
#include "install/undorun.h"
#include "install/wininitrule.h"
#include "registry/sharedcount.h"
#include "runtime/text.h"
#include "script/model.h"
#include "texts/log.h"

namespace {

// What LoadInstallRecord read: the log, the older record, and what they say setup made.
struct Record {
    char logPath[MAX_PATH];
    char* log;        // the install log (a block), or null
    char* older;      // [Installed] of SETUP.INF, or null
    MadeSet made;
    HGLOBAL memory;
};
Record Loaded;

// The files that stay, one a line (see RemoveInstalledFiles), and how many.
struct LeftFiles {
    char* text;
    int width;
    int count;
};

int LogPathOf(char* out) { return TextJoin(out, MAX_PATH, Shared::InstallDir, "\\", kLogFileName); }

void LetGo() {
    if (Loaded.log != nullptr) GlobalFree(Loaded.log);
    if (Loaded.older != nullptr) GlobalFree(Loaded.older);
    if (Loaded.memory != nullptr) GlobalFree(Loaded.memory);
    ZeroBytes(&Loaded, sizeof(Loaded));
}

// Notes the lines of the older record as the first run's.
void NoteOlderRecord(MadeSet* set, const char* record) {
    static const MadeKind kKinds[] = {MadeNone, MadeDir, MadeNew, MadeOld, MadeShared};
    for (const char* line = record; line != nullptr && line[0] != 0; line = NextRecordLine(line)) {
        char path[MAX_PATH];
        RecordKind kind = SplitRecordLine(line, path, MAX_PATH);
        if (kind != RecordNone) MadeSetNote(set, path, kKinds[kind], 0);
    }
}

// Adds path as a line of its own to the list of what stays; "..." ends a list that is full.
void NoteLeft(LeftFiles* left, const char* path) {
    static const char kMore[] = "...";
    ++left->count;
    int n = TextLength(left->text);
    if (n >= 3 && TextEqual(left->text + n - 3, kMore)) return;
    char plain[kRenamePathWidth], line[kRenamePathWidth + 2];
    if (!PlainPath(plain, path)) TextCopy(plain, kRenamePathWidth, path);
    TextJoin(line, sizeof(line), n > 0 ? "\n" : "", plain);
    if (n + TextLength(line) + 5 < left->width)
        TextAppend(left->text, left->width, line);
    else
        TextAppend(left->text, left->width, n > 0 ? "\n..." : kMore);
}

void RemoveFile(const char* path, LeftFiles* left) {
    if (!RemoveFileOrQueue(path)) NoteLeft(left, path);
}

// One installation fewer uses the shared file; at none, it goes if the caller agrees.
void ReleaseShared(const char* path, const RemovalCaller* caller, LeftFiles* left) {
    if (ReleaseSharedUse(path) != 0) return;
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        ForgetSharedUse(path);
        return;
    }
    if (caller == nullptr || caller->RemoveUnusedShared == nullptr ||
        !caller->RemoveUnusedShared(caller->Context, path)) {
        LogLine("shared file kept, no program uses it any more: ", path);
        return;
    }
    ForgetSharedUse(path);
    RemoveFile(path, left);
}

}  // namespace

int UndoInterruptedSetup() {
    char path[MAX_PATH];
    if (!LogPathOf(path)) return 0;
    char* block = ReadLogBlock(path);
    char full[MAX_PATH];
    char* name;
    DWORD n = GetFullPathNameA(Shared::InstallDir, MAX_PATH, full, &name);
    int open = block != nullptr && n > 0 && n < MAX_PATH && LogBelongsTo(block, full) &&
               OpenRun(block) != nullptr;
    if (block != nullptr) GlobalFree(block);
    return open && UndoOpenRun(path);
}

int LoadInstallRecord() {
    LetGo();
    char full[MAX_PATH];
    char* name;
    DWORD n = GetFullPathNameA(Shared::InstallDir, MAX_PATH, full, &name);
    long lines = 0;
    if (LogPathOf(Loaded.logPath) && n > 0 && n < MAX_PATH)
        Loaded.log = ReadLogBlock(Loaded.logPath, &lines);
    if (Loaded.log != nullptr && !LogBelongsTo(Loaded.log, full)) {
        GlobalFree(Loaded.log);
        Loaded.log = nullptr;
    }
    Loaded.older = ReadOwnInstallRecord(Shared::InstallDir);
    if (Loaded.log == nullptr && Loaded.older == nullptr) return 0;

    long bytes = 0;
    const char* blocks[] = {Loaded.log, Loaded.older};
    for (const char* b : blocks)
        for (const char* line = b != nullptr && b[0] != 0 ? b : nullptr; line != nullptr;
             line = NextLogLine(line)) {
            bytes += TextLength(line) + 1;
            ++lines;
        }
    long arena = MadeSetArenaBytes(bytes, lines), slots = MadeSetSlotCount(lines);
    Loaded.memory = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, arena + slots * sizeof(long));
    if (Loaded.memory == nullptr) {
        LetGo();
        return 0;
    }
    MadeSet& set = Loaded.made;
    set.slots = static_cast<long*>(static_cast<void*>(Loaded.memory));
    set.capacity = slots;
    set.arena = static_cast<char*>(static_cast<void*>(Loaded.memory)) + slots * sizeof(long);
    set.arenaSize = arena;
    if (Loaded.older != nullptr) NoteOlderRecord(&set, Loaded.older);
    if (Loaded.log != nullptr) NoteCommittedRuns(&set, Loaded.log, 1);
    return 1;
}

int RecordedMouseLine(char* out, int width) {
    return Loaded.log != nullptr && CommittedLine(Loaded.log, LogMouse, out, width);
}

int SetupMadeSystemBak() {
    char word[8];
    return Loaded.log != nullptr && CommittedLine(Loaded.log, LogSysBak, word, sizeof(word)) &&
           TextEqualNoCase(word, "New");
}

int RemoveInstalledFiles(const RemovalCaller* caller, char* leftText, int width) {
    LeftFiles left = {leftText, width, 0};
    leftText[0] = 0;
    if (Loaded.memory == nullptr) return 0;
    long at = 0, dirs = 0;
    MadeKind kind;
    for (const char* path; (path = MadeSetNext(&Loaded.made, &at, &kind)) != nullptr;) {
        if (kind == MadeNew) RemoveFile(path, &left);
        if (kind == MadeShared) ReleaseShared(path, caller, &left);
        if (kind == MadeDir) ++dirs;
    }
    RemoveWorkDirectories(Loaded.log);
    if (Loaded.log != nullptr && DeleteFileA(Loaded.logPath)) LogLine("removed ", Loaded.logPath);
    // The directories, the last created first: one created later lies in an earlier one,
    // never the other way round.
    for (; dirs > 0; --dirs) {
        long seen = 0;
        at = 0;
        for (const char* path; (path = MadeSetNext(&Loaded.made, &at, &kind)) != nullptr;)
            if (kind == MadeDir && ++seen == dirs) {
                if (RemoveDirectoryA(path)) LogLine("removed ", path);
                break;
            }
    }
    LetGo();
    return left.count;
}
