// Whether two paths name one file, decided by the file system rather than by their texts.
#pragma once
#include <windows.h>

// 1 when both paths name the same existing file: each is made full by the platform ("." and
// ".." resolved, trailing dots and doubled separators dropped), then short (an 8.3 alias
// and its long name give one form), and the forms are compared without regard to case.
// 0 when either file does not exist, so a destination not yet made is never the source.
int SameExistingFile(const char* a, const char* b);

// What a copy run has learnt about its pairs of directories. Making a path short walks
// every directory on it (a package directory of thousands of files makes that cost
// milliseconds an entry), so it is done once per pair of source and destination directory,
// and for files only where the two directories are one.
enum { kOwnFilePairs = 16 };
struct OwnFileGuard {
    struct Pair {
        char source[MAX_PATH];  // full forms, as the platform makes them from the text
        char dest[MAX_PATH];
        int same;  // 1 when both name one existing directory
    } pairs[kOwnFilePairs];
    int count;
    int next;  // the pair to replace once the table is full
};

// 1 when source is dest's own file (SameExistingFile's answer). A destination that does not
// exist is never the source and costs no path resolution. guard starts zeroed.
int IsOwnDestination(OwnFileGuard* guard, const char* source, const char* dest);

// How many times a path was made short since the program started: tests count the file
// system walks of a run rather than time them.
long PathResolutionCount();
