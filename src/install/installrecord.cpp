#include <windows.h>

#include "install/installrecord.h"

#include "install/recordlines.h"
#include "registry/sharedcount.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "script/journal.h"

namespace {

enum { kLineBytes = kDirWidth + 16, kFirstBlock = 4096 };

// The record of an earlier installation into InstallDir (null when there is none), read at
// the first note of the run, and the lines this run adds: zero-ended lines, AddedLength
// bytes used of AddedSize.
char* Earlier;
int Started;
char* Added;
long AddedLength;
long AddedSize;

// The full form of path ("." and ".." resolved, doubled separators dropped) into out,
// kDirWidth wide; 0 when it does not fit.
int FullPath(const char* path, char* out) {
    char full[MAX_PATH];
    char* name;
    DWORD length = GetFullPathNameA(path, MAX_PATH, full, &name);
    if (length == 0 || length >= MAX_PATH) return 0;
    return TextCopy(out, kDirWidth, full);
}

// Reads the earlier record once; one that belongs to another directory (a SETUP.INF copied
// from elsewhere) is no record of this installation.
void Start() {
    if (Started) return;
    Started = 1;
    char script[kDirWidth], dir[kDirWidth], here[kDirWidth];
    if (!JournalPath(script, Shared::InstallDir) ||
        (Earlier = ReadInstallRecord(script)) == nullptr)
        return;
    if (!RecordDirectory(Earlier, dir, kDirWidth) || !FullPath(Shared::InstallDir, here) ||
        !TextSamePathNoCase(dir, here)) {
        GlobalFree(Earlier);
        Earlier = nullptr;
    }
}

// 1 when the earlier record names path. The lines of this run are not searched: a path
// written twice in one run (two entries, one destination) is "New", then "Old", and the
// uninstaller, which goes through every line, removes it once; a shared one is counted
// twice and taken off twice.
int Holds(const char* path) { return Earlier != nullptr && RecordHolds(Earlier, path); }

// Appends "path=Word" to the added lines, keeping the block ended by an empty line.
void Add(const char* path, RecordKind kind) {
    char line[kLineBytes];
    if (!MakeRecordLine(line, kLineBytes, path, kind)) return;
    long need = AddedLength + TextLength(line) + 2;
    if (need > AddedSize) {
        long size = AddedSize > 0 ? AddedSize * 2 : static_cast<long>(kFirstBlock);
        while (size < need) size *= 2;
        HGLOBAL block = Added == nullptr
                            ? GlobalAlloc(GMEM_FIXED, size)
                            : GlobalReAlloc(static_cast<HGLOBAL>(Added), size, GMEM_MOVEABLE);
        if (block == nullptr) return;
        Added = static_cast<char*>(static_cast<void*>(block));
        AddedSize = size;
    }
    TextCopy(Added + AddedLength, AddedSize - AddedLength, line);
    AddedLength += TextLength(line) + 1;
    Added[AddedLength] = 0;
}

// Copies the lines of block (but a Directory line) to out at *at.
void CopyLines(char* out, long* at, const char* block) {
    for (const char* line = block; line != nullptr && line[0] != 0; line = NextRecordLine(line)) {
        char key[kLineBytes];
        if (SplitRecordLine(line, key, kLineBytes) == RecordNone) continue;
        int n = TextLength(line);
        for (int i = 0; i <= n; ++i) out[*at + i] = line[i];
        *at += n + 1;
    }
}

long BlockBytes(const char* block) {
    long n = 0;
    if (block == nullptr) return 0;
    while (block[n] != 0 || block[n + 1] != 0) ++n;
    return n + 2;
}

void LetGo() {
    if (Earlier != nullptr) GlobalFree(Earlier);
    if (Added != nullptr) GlobalFree(Added);
    Earlier = Added = nullptr;
    AddedLength = AddedSize = 0;
    Started = 0;
}

}  // namespace

void RecordCreatedDirectory(const char* path) {
    char full[kDirWidth];
    Start();
    if (FullPath(path, full) && !Holds(full)) Add(full, RecordDir);
}

void RecordInstalledFile(const FileEntry& e, const char* destPath, int stood) {
    char full[kDirWidth];
    Start();
    if (!FullPath(destPath, full) || !FileExists(full) || Holds(full)) return;
    if (e.DestIsAbsolute != 0) {
        AddSharedUse(full, stood);
        Add(full, RecordShared);
    } else {
        Add(full, stood ? RecordOld : RecordNew);
    }
}

void WriteInstallRecord() {
    char script[kDirWidth], fullScript[kDirWidth], dir[kDirWidth];
    Start();
    if (!JournalPath(script, Shared::InstallDir) || !FullPath(script, fullScript) ||
        !FullPath(Shared::InstallDir, dir)) {
        LetGo();
        return;
    }
    if (!FileExists(fullScript) && !Holds(fullScript)) Add(fullScript, RecordNew);
    char first[kLineBytes];
    if (!TextJoin(first, kLineBytes, kRecordDirectoryKey, "=", dir)) {
        LetGo();
        return;
    }
    long size = TextLength(first) + 1 + BlockBytes(Earlier) + BlockBytes(Added) + 2;
    char* section = static_cast<char*>(static_cast<void*>(GlobalAlloc(GMEM_FIXED, size)));
    if (section != nullptr) {
        TextCopy(section, size, first);
        long at = TextLength(first) + 1;
        CopyLines(section, &at, Earlier);
        CopyLines(section, &at, Added);
        section[at] = 0;
        WritePrivateProfileSectionA(kRecordSection, section, script);
        FlushProfile(script);  // out of the cache, onto the disk
        GlobalFree(section);
    }
    LetGo();
}

char* ReadInstallRecord(const char* scriptPath) {
    long bytes = FileBytes(scriptPath);
    if (bytes < 0 || bytes > 0x1000000) return nullptr;
    // A section is never longer than its file; Windows 95 gives at most 32767 characters of it.
    DWORD size = static_cast<DWORD>(bytes) + 2;
    char* block = static_cast<char*>(static_cast<void*>(GlobalAlloc(GMEM_FIXED, size + 2)));
    if (block == nullptr) return nullptr;
    DWORD got = GetPrivateProfileSectionA(kRecordSection, block, size, scriptPath);
    if (got == 0) {
        GlobalFree(block);
        return nullptr;
    }
    block[got] = 0;
    block[got + 1] = 0;
    return block;
}
