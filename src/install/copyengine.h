// The copy engine: every entry of every disk from the source tree to its destination,
// expanded by the LZ library, and the product registration after it. It takes no window:
// what a run shows, and whether it stops, is its caller's, reached through a CopyCaller.
#pragma once
#include <stdint.h>

#include "script/model.h"

// Why an entry was not copied.
enum CopyFailure {
    CopyFailedNot = 0,
    CopyFailedSource = 1,  // the source cannot be opened
    CopyFailedDest = 2,    // the destination cannot be created or written
    CopyFailedShort = 3,   // the data did not arrive whole (the LZ library says so for a
                           // source it cannot read; a truncated packed file it does not report)
    CopyFailedTooLong = 4,  // the source or the destination path is longer than the 79
                            // characters a path may have: the report's path of it is empty
    CopyFailedNameTooLong = 5,  // the script line's file name is longer than 14 characters or
                                // its directory longer than 39: the entry names no file
};

// A caller's answer to a failed entry.
enum CopyAnswer {
    CopyGoOn = 0,   // pass over the entry
    CopyRetry = 1,  // copy the entry once more, from its status on
    CopyAbort = 2,  // stop after the entry, as a cancel does
};

struct CopyFailureReport {
    const FileEntry* Entry;
    const char* Source;  // the composed source path; empty when it did not fit
    const char* Dest;    // the composed destination path; empty when it did not fit
    CopyFailure Why;
};

// The caller's side of a run, in the order the engine uses it. Every function gets Context
// first; a null function is simply not called (a failed entry then goes on).
struct CopyCaller {
    void* Context;
    // A disk's entries begin (disk from 0), also for a disk without entries.
    void (*DiskBegins)(void* context, int disk);
    // The entry about to be copied.
    void (*ShowEntry)(void* context, const FileEntry* entry);
    // The share of the current disk done once this entry is done, in whole percent.
    void (*ShowProgress)(void* context, int16_t percent);
    // Called twice per entry (after its source is opened, after it is copied) to handle what
    // waits. 1 when the user asked to stop: the entry is finished, no other one begins.
    int (*CancelAsked)(void* context);
    // An entry was not copied; what the engine does next.
    CopyAnswer (*EntryFailed)(void* context, const CopyFailureReport* failure);
    // An entry was written to dest; existedBefore is 1 when a file stood there before.
    void (*EntryWritten)(void* context, const char* dest, int existedBefore);
    // The copy is over, the product registration follows.
    void (*RegistrationBegins)(void* context);
};

struct InstallLog;

// Creates SubDir1 ... SubDir6 below InstallDir, one level each, each logged first; failures
// pass unnoticed.
void MakeSubDirectories(InstallLog* log);

// Copies every entry of every disk until the caller asks to stop or aborts, each step written
// to log before it is taken. A null caller copies everything without a word. A run that
// stopped (or whose log failed) is put back: what it made goes, what it replaced returns.
// Returns 1 when the copy is complete, 0 when the run stopped.
int CopyEntries(const CopyCaller* caller, InstallLog* log);

// CopyEntries, then, after a complete copy only, RegistrationBegins and RegisterProduct(1).
// Returns what CopyEntries returned.
int CopyAndRegister(const CopyCaller* caller, InstallLog* log);
