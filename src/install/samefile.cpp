#include <windows.h>

#include "install/samefile.h"

#include "runtime/fileexists.h"
#include "runtime/text.h"

static long Resolutions;

// The short form of an existing full path into out (MAX_PATH characters); 0 when the path
// does not exist or its form does not fit.
static int ShortForm(const char* full, char* out) {
    ++Resolutions;
    DWORD length = GetShortPathNameA(full, out, MAX_PATH);
    return length != 0 && length < MAX_PATH;
}

// The full, short form of an existing path into out (MAX_PATH characters); 0 when the path
// does not exist or a form does not fit.
static int ShortFullPath(const char* path, char* out) {
    char full[MAX_PATH];
    char* name;
    DWORD length = GetFullPathNameA(path, MAX_PATH, full, &name);
    if (length == 0 || length >= MAX_PATH) return 0;
    return ShortForm(full, out);
}

int SameExistingFile(const char* a, const char* b) {
    char shortA[MAX_PATH], shortB[MAX_PATH];
    return ShortFullPath(a, shortA) && ShortFullPath(b, shortB) &&
           TextSamePathNoCase(shortA, shortB);
}

// The full form of a file's path cut into its directory (dir, MAX_PATH characters, without
// a trailing separator unless it is a root) and its name (name, MAX_PATH characters). Only
// text work: the platform reads no directory for it. 0 when the path does not fit or names
// no file.
static int SplitFullPath(const char* path, char* dir, char* name) {
    char* part = nullptr;
    DWORD length = GetFullPathNameA(path, MAX_PATH, dir, &part);
    if (length == 0 || length >= MAX_PATH || part == nullptr || part == dir) return 0;
    TextCopy(name, MAX_PATH, part);
    // Separators go from the end, never the second byte of a double-byte character.
    char* end = part;
    while (end - dir > 3) {
        char* before = CharPrevA(dir, end);
        if (before != end - 1 || (*before != '\\' && *before != '/')) break;
        end = before;
    }
    end[0] = 0;
    return 1;
}

// Whether two full directory paths name one existing directory, learnt once per pair.
static int SameDirectory(OwnFileGuard* guard, const char* source, const char* dest) {
    for (int i = 0; i < guard->count; ++i) {
        const OwnFileGuard::Pair& p = guard->pairs[i];
        if (TextEqualNoCase(p.source, source) && TextEqualNoCase(p.dest, dest)) return p.same;
    }
    char shortSource[MAX_PATH], shortDest[MAX_PATH];
    int same = ShortForm(source, shortSource) && ShortForm(dest, shortDest) &&
               TextSamePathNoCase(shortSource, shortDest);
    int slot = guard->count < kOwnFilePairs ? guard->count++ : guard->next++ % kOwnFilePairs;
    OwnFileGuard::Pair& p = guard->pairs[slot];
    TextCopy(p.source, MAX_PATH, source);
    TextCopy(p.dest, MAX_PATH, dest);
    p.same = same;
    return same;
}

int IsOwnDestination(OwnFileGuard* guard, const char* source, const char* dest) {
    if (!FileExists(dest)) return 0;
    char sourceDir[MAX_PATH], destDir[MAX_PATH], sourceName[MAX_PATH], destName[MAX_PATH];
    if (!SplitFullPath(source, sourceDir, sourceName) || !SplitFullPath(dest, destDir, destName))
        return SameExistingFile(source, dest);
    if (!SameDirectory(guard, sourceDir, destDir)) return 0;
    // One directory: the same name is the same file; another name may be its 8.3 alias.
    if (TextEqualNoCase(sourceName, destName)) return 1;
    return SameExistingFile(source, dest);
}

long PathResolutionCount() { return Resolutions; }
