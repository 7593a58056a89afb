#include <windows.h>

#include "install/samefile.h"

#include "runtime/text.h"

// The full, short form of an existing path into out (MAX_PATH characters); 0 when the path
// does not exist or a form does not fit.
static int ShortFullPath(const char* path, char* out) {
    char full[MAX_PATH];
    char* name;
    DWORD length = GetFullPathNameA(path, MAX_PATH, full, &name);
    if (length == 0 || length >= MAX_PATH) return 0;
    length = GetShortPathNameA(full, out, MAX_PATH);
    return length != 0 && length < MAX_PATH;
}

int SameExistingFile(const char* a, const char* b) {
    char shortA[MAX_PATH], shortB[MAX_PATH];
    return ShortFullPath(a, shortA) && ShortFullPath(b, shortB) &&
           TextSamePathNoCase(shortA, shortB);
}
