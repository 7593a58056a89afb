#include <windows.h>

#include "install/copyengine.h"

#include "install/copylog.h"
#include "install/entrypaths.h"
#include "install/installlog.h"
#include "install/keepjournal.h"
#include "install/progress.h"
#include "install/samefile.h"
#include "install/undorun.h"
#include "install/wholecopy.h"
#include "registry/product.h"
#include "registry/sharedcount.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "texts/log.h"

// What a copy run works with, for the length of the run.
struct CopyRun {
    const CopyCaller* caller;  // never null: a run without a caller gets a quiet one
    InstallLog* log;           // every step is written there before it is taken
    INT source;                // LZ handle of the source being copied; -1 when none is open
    int stopped;               // the caller asked to stop or aborted
    OwnFileGuard ownFiles;     // which pairs of directories are one
};

void MakeSubDirectories(InstallLog* log) {
    char path[kDirWidth];
    for (int key = DirKeySub1; key <= DirKeySub6; ++key)
        if (MakeSubDirPath(path, key) && !DirectoryExists(path) &&
            InstallLogWrite(log, LogDir, path))
            CreateDirectoryA(path, nullptr);
}

// The caller's poll; a stop asked for is kept for the rest of the run.
static void PollCaller(CopyRun* run) {
    const CopyCaller* c = run->caller;
    if (c->CancelAsked != nullptr && c->CancelAsked(c->Context)) run->stopped = 1;
}

// Opens the source (an empty path fails as if the platform had refused it), then polls.
static void OpenSource(CopyRun* run, const char* path) {
    OFSTRUCT scratch;
    run->source = path[0] != 0 ? LZOpenFileA(const_cast<LPSTR>(path), &scratch, OF_READ) : -1;
    PollCaller(run);
}

// The full form of path (".", ".." and doubled separators resolved) into out, MAX_PATH wide:
// the name the log and the use counts know a file by. path itself when it has none.
static void FullForm(const char* path, char* out) {
    char* name;
    DWORD n = path[0] != 0 ? GetFullPathNameA(path, MAX_PATH, out, &name) : 0;
    if (n == 0 || n >= MAX_PATH) TextCopy(out, MAX_PATH, path);
}

// A file of a Windows directory just put in place is counted in SharedDLLs, once per
// installation; its count before is logged first, for an undo.
static void CountShared(CopyRun* run, const char* full, int stood) {
    if (InstallLogEarlierHolds(run->log, full)) return;
    char before[16] = "-";
    long count = SharedUseCount(full);
    if (count >= 0) TextFromInt(before, sizeof(before), count);
    if (InstallLogWrite(run->log, LogShared, full, before)) AddSharedUse(full, stood);
}

// With an open source: copies it whole into the work directory, then gives it the
// destination's name (an older file there stays as it was unless the whole new one replaces
// it), and closes the source. Without one nothing is created or emptied. Returns the
// failure, if any.
static CopyFailure CopyToDest(CopyRun* run, const FileEntry& e, const char* source,
                              const char* path) {
    if (run->source < 0) return CopyFailedSource;
    // A packed file cut inside its header reads as a plain file of a few bytes: damaged.
    LONG size = LZSeek(run->source, 0, 2);
    LZSeek(run->source, 0, 0);
    if (PackedHeaderCut(source, size)) {
        LZClose(run->source);
        run->source = -1;
        return CopyFailedShort;
    }
    char full[MAX_PATH], temp[MAX_PATH];
    FullForm(path, full);
    // The install log is setup's own: a package's file of its name never takes its place.
    if (run->log != nullptr && TextSamePathNoCase(full, run->log->path)) {
        LZClose(run->source);
        run->source = -1;
        return CopyFailedDest;
    }
    LONG copied = 0;
    WholeCopyResult result = WholeDestFailed;
    int stood = 0, tryTemp = 1;
    // A reinstall finds most files standing: each is written over where it stands.
    if (run->log != nullptr && run->log->reinstall && path[0] != 0 && !IsJournalFile(e, path)) {
        DWORD attributes = GetFileAttributesA(full);
        const DWORD kNotOver = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY;
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotOver) == 0 &&
            !IsOwnDestination(&run->ownFiles, source, full)) {
            stood = 1;
            result = OverwriteWhole(run->log, run->source, full, &copied, &tryTemp);
        }
    }
    // A new file is made at its name, unless it is the journal's file, which must take the
    // journal with it before it takes the name.
    if (tryTemp && !stood && run->log != nullptr && path[0] != 0 && !IsJournalFile(e, path)) {
        result = WriteNewWhole(run->log, run->source, full, &copied);
        tryTemp = result == WholeNotMade;
    }
    if (tryTemp) {
        HANDLE created =
            path[0] != 0 ? CreateWorkFile(run->log, full, temp) : INVALID_HANDLE_VALUE;
        result = created != INVALID_HANDLE_VALUE
                     ? CopyWholeToNew(run->source, created, temp, &copied)
                     : WholeDestFailed;
    }
    LZClose(run->source);
    run->source = -1;
    // A script copied over the journal's file takes the journal with it.
    if (tryTemp && result == WholeInPlace && IsJournalFile(e, path) &&
        !MergeJournalInto(temp, full)) {
        DeleteFileA(temp);
        result = WholeDestFailed;
    }
    if (tryTemp && result == WholeInPlace)
        result = PlaceWhole(run->log, &run->ownFiles, source, temp, full, &stood);
    if (result == WholeOwnFile) {
        LogFileInPlace(path);
        return CopyFailedNot;
    }
    if (result == WholeDestFailed) return CopyFailedDest;
    if (result == WholeDataShort) return CopyFailedShort;
    LogFileWritten(source, path, copied, stood);
    if (e.DestIsAbsolute != 0) CountShared(run, full, stood);
    const CopyCaller* c = run->caller;
    if (c->EntryWritten != nullptr) c->EntryWritten(c->Context, path, stood);
    return CopyFailedNot;
}

// One attempt at an entry: status, open, progress, copy, in this order. A stop asked for on
// the way lets the entry finish.
static CopyFailure CopyEntryOnce(CopyRun* run, int disk, int index, const char* source,
                                 const char* path) {
    const CopyCaller* c = run->caller;
    const FileEntry& e = Shared::FileTable[Shared::DiskSet.Disk[disk].FirstEntry + index];
    if (c->ShowEntry != nullptr) c->ShowEntry(c->Context, &e);
    if (e.NameTooLong == 0) OpenSource(run, source);

    int16_t percent = DiskPercentage(index, Shared::DiskSet.Disk[disk].FileCount);
    if (c->ShowProgress != nullptr) c->ShowProgress(c->Context, percent);

    CopyFailure failure =
        e.NameTooLong != 0 ? CopyFailedNameTooLong : CopyToDest(run, e, source, path);
    PollCaller(run);
    return failure;
}

// One entry, tried again for as long as the caller answers a failure with retry.
static void CopyEntry(CopyRun* run, int disk, int index) {
    char source[kDirWidth], path[kDirWidth];
    // A path that does not fit is left empty, and the entry fails for that reason.
    int fits = MakeSourcePath(source, disk, index) & MakeDestPath(path, disk, index);
    const CopyCaller* c = run->caller;
    for (;;) {
        CopyFailure why = CopyEntryOnce(run, disk, index, source, path);
        const FileEntry* e = &Shared::FileTable[Shared::DiskSet.Disk[disk].FirstEntry + index];
        // An entry that names no source copies nothing, and that is no failure.
        int skipped = e->SourceFile[0] == 0 && e->NameTooLong == 0;
        if (skipped) LogEntrySkipped(*e);
        if (why == CopyFailedNot || skipped) return;
        if (!fits && why != CopyFailedNameTooLong) why = CopyFailedTooLong;
        CopyFailureReport report = {e, source, path, why};
        CopyAnswer answer =
            c->EntryFailed != nullptr ? c->EntryFailed(c->Context, &report) : CopyGoOn;
        LogEntryFailed(&report, answer);
        if (answer == CopyRetry) continue;
        if (answer == CopyAbort) run->stopped = 1;
        return;
    }
}

int CopyEntries(const CopyCaller* caller, InstallLog* log) {
    static const CopyCaller kQuiet = {};
    static CopyRun run;  // a few kilobytes: kept off the stack
    ZeroBytes(&run, sizeof(run));
    run.caller = caller != nullptr ? caller : &kQuiet;
    run.log = log;
    run.source = -1;
    const CopyCaller* c = run.caller;
    for (int d = 0; d < Shared::DiskSet.DiskCount && d < kMaxDisks && !run.stopped; ++d) {
        if (c->DiskBegins != nullptr) c->DiskBegins(c->Context, d);
        for (int i = 0; i < Shared::DiskSet.Disk[d].FileCount && !run.stopped; ++i)
            CopyEntry(&run, d, i);
    }
    if (run.stopped) LogLine("the copy stopped: what this run did is put back");
    return FinishCopy(log, !run.stopped);
}

int CopyAndRegister(const CopyCaller* caller, InstallLog* log) {
    if (!CopyEntries(caller, log)) return 0;
    if (caller != nullptr && caller->RegistrationBegins != nullptr)
        caller->RegistrationBegins(caller->Context);
    // The journal, written before each value, says what the registration replaces.
    InstallLogWrite(log, LogRegistry);
    RegisterProduct(1, Shared::InstallDir);
    return 1;
}
