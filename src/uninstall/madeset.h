// What the install log (and the record of a setup from before it) says setup made, for the
// uninstaller: each path once, with the word of the first completed run that named it. No
// Windows calls.
#pragma once

// What the committed runs made, first word kept: the paths of an earlier record and of the
// log in the order they were first met, each once. Memory comes from the caller.
enum MadeKind { MadeNone = 0, MadeDir, MadeNew, MadeOld, MadeShared };
struct MadeSet {
    char* arena;       // entries one after another: kind, run, path, zero
    long arenaSize;
    long arenaUsed;
    long* slots;       // offsets into arena plus one; 0 for a free slot
    long capacity;     // a power of two
    long count;
};

// Notes what run made of path: the first run to name a path keeps its word, but within one
// run a file counted as shared is shared. 0 when the set is full.
int MadeSetNote(MadeSet* set, const char* path, MadeKind kind, int run);

// The word the set holds for path; MadeNone when it holds none.
MadeKind MadeSetFind(const MadeSet* set, const char* path);

// Walks the entries in the order they were noted: at is 0 at the start; returns the path
// and sets kind, or null at the end.
const char* MadeSetNext(const MadeSet* set, long* at, MadeKind* kind);

// Notes in set what the committed runs of the log block made, their runs counted from run
// on. Returns 0 when the set ran full.
int NoteCommittedRuns(MadeSet* set, const char* block, int run);

// The bytes a MadeSet needs for a block of blockBytes and lines lines: arena and slots.
long MadeSetArenaBytes(long blockBytes, long lines);
long MadeSetSlotCount(long lines);
