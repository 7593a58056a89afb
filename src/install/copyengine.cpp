#include <windows.h>

#include "install/copyengine.h"

#include "install/copylog.h"
#include "install/entrypaths.h"
#include "install/installrecord.h"
#include "install/keepjournal.h"
#include "install/progress.h"
#include "install/samefile.h"
#include "install/wholecopy.h"
#include "registry/product.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"

// What a copy run works with, for the length of the run.
struct CopyRun {
    const CopyCaller* caller;  // never null: a run without a caller gets a quiet one
    INT source;                // LZ handle of the source being copied; -1 when none is open
    int stopped;               // the caller asked to stop or aborted
    OwnFileGuard ownFiles;     // which pairs of directories are one
};

void MakeSubDirectories() {
    char path[kDirWidth];
    for (int key = DirKeySub1; key <= DirKeySub6; ++key)
        if (MakeSubDirPath(path, key) && CreateDirectoryA(path, nullptr))
            RecordCreatedDirectory(path);
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

// With an open source: copies it whole to the destination or not at all (an older file
// there stays as it was unless the whole new one replaces it), and closes the source.
// Without one nothing is created or emptied. stood: whether a file stood at path before.
// Returns the failure, if any.
static CopyFailure CopyToDest(CopyRun* run, const char* source, const char* path, int* stood) {
    *stood = 0;
    if (run->source < 0) {
        *stood = path[0] != 0 && FileExists(path);
        return CopyFailedSource;
    }
    const CopyCaller* c = run->caller;
    LONG copied = 0;
    WholeCopyResult result = WholeDestFailed;
    HANDLE created = CreateNewFile(path, stood);
    if (created != INVALID_HANDLE_VALUE) {
        result = CopyWholeToNew(run->source, created, path, &copied);
    } else if (*stood && IsOwnDestination(&run->ownFiles, source, path)) {
        // Installed into the package's own directory, a file can be its own destination:
        // writing it would destroy the source. The file is in place already. The directory
        // may be named otherwise than the package's ("..", an 8.3 alias): the file system
        // decides.
        LZClose(run->source);
        run->source = -1;
        LogFileInPlace(path);
        return CopyFailedNot;
    } else if (*stood) {
        result = ReplaceWhole(run->source, path, &copied);
    }
    LZClose(run->source);
    run->source = -1;
    if (result == WholeDestFailed) return CopyFailedDest;
    if (result == WholeDataShort) return CopyFailedShort;
    LogFileWritten(source, path, copied, *stood);
    if (c->EntryWritten != nullptr) c->EntryWritten(c->Context, path, *stood);
    return CopyFailedNot;
}

// One attempt at an entry: status, open, progress, copy, in this order. A stop asked for on
// the way lets the entry finish.
static CopyFailure CopyEntryOnce(CopyRun* run, int disk, int index, const char* source,
                                 const char* path) {
    const CopyCaller* c = run->caller;
    const FileEntry& e = Shared::FileTable[Shared::DiskSet.Disk[disk].FirstEntry + index];
    if (c->ShowEntry != nullptr) c->ShowEntry(c->Context, &e);
    OpenSource(run, source);

    int16_t percent = DiskPercentage(index, Shared::DiskSet.Disk[disk].FileCount);
    if (c->ShowProgress != nullptr) c->ShowProgress(c->Context, percent);

    char* journal = SaveJournal(e, path);  // a script copied over the journal keeps it
    int stood = 0;
    CopyFailure failure = CopyToDest(run, source, path, &stood);
    PollCaller(run);
    RestoreJournal(journal);
    RecordInstalledFile(e, path, stood);
    return failure;
}

// One entry, tried again for as long as the caller answers a failure with retry.
static void CopyEntry(CopyRun* run, int disk, int index) {
    char source[kDirWidth], path[kDirWidth];
    MakeSourcePath(source, disk, index);
    MakeDestPath(path, disk, index);
    const CopyCaller* c = run->caller;
    for (;;) {
        CopyFailure why = CopyEntryOnce(run, disk, index, source, path);
        const FileEntry* e = &Shared::FileTable[Shared::DiskSet.Disk[disk].FirstEntry + index];
        // An entry that names no source copies nothing, and that is no failure.
        if (why == CopyFailedNot || e->SourceFile[0] == 0) return;
        CopyFailureReport report = {e, source, path, why};
        CopyAnswer answer =
            c->EntryFailed != nullptr ? c->EntryFailed(c->Context, &report) : CopyGoOn;
        LogEntryFailed(&report, answer);
        if (answer == CopyRetry) continue;
        if (answer == CopyAbort) run->stopped = 1;
        return;
    }
}

int CopyEntries(const CopyCaller* caller) {
    static const CopyCaller kQuiet = {nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr};
    static CopyRun run;  // a few kilobytes: kept off the stack
    ZeroBytes(&run, sizeof(run));
    run.caller = caller != nullptr ? caller : &kQuiet;
    run.source = -1;
    const CopyCaller* c = run.caller;
    for (int d = 0; d < Shared::DiskSet.DiskCount && d < kMaxDisks && !run.stopped; ++d) {
        if (c->DiskBegins != nullptr) c->DiskBegins(c->Context, d);
        for (int i = 0; i < Shared::DiskSet.Disk[d].FileCount && !run.stopped; ++i)
            CopyEntry(&run, d, i);
    }
    WriteInstallRecord();
    return !run.stopped;
}

int CopyAndRegister(const CopyCaller* caller) {
    int completed = CopyEntries(caller);
    if (caller != nullptr && caller->RegistrationBegins != nullptr)
        caller->RegistrationBegins(caller->Context);
    RegisterProduct(1, Shared::InstallDir);
    return completed;
}
