#include <windows.h>

#include "uninstall/removefiles.h"

#include "install/entrypaths.h"
#include "install/wininit.h"
#include "install/wininitrule.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "script/model.h"

// Deletes a file, read-only or not; one that stays is queued for the next start. Returns 0
// when it can neither go nor be queued.
static int RemoveFile(const char* path) {
    if (!FileExists(path)) return 1;
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path)) return 1;
    return !FileExists(path) || QueueRemovalAtRestart(path);
}

// Adds path as a line of its own to the list of what stays; "..." ends a list that is full.
static void NoteLeft(char* left, int width, const char* path) {
    static const char kMore[] = "...";
    int n = TextLength(left);
    if (n >= 3 && TextEqual(left + n - 3, kMore)) return;
    char plain[kRenamePathWidth], line[kRenamePathWidth + 2];
    PlainPath(plain, path);
    TextJoin(line, sizeof(line), n > 0 ? "\n" : "", plain);
    if (TextLength(left) + TextLength(line) + 5 < width)
        TextAppend(left, width, line);
    else
        TextAppend(left, width, n > 0 ? "\n..." : kMore);
}

// Removes the directory at path and each one above it, below InstallDir, that is left
// empty; a directory that still holds something stays.
static void RemoveEmptyDirs(const char* path) {
    char dir[kDirWidth];
    if (!TextCopy(dir, kDirWidth, path)) return;
    int base = TextLength(Shared::InstallDir);
    for (;;) {
        int n = TextLength(dir);
        if (n <= base) return;
        RemoveDirectoryA(dir);
        while (n > base && dir[n - 1] != '\\') --n;
        if (n <= base) return;
        dir[n - 1] = 0;
    }
}

int RemoveInstalledFiles(char* left, int width) {
    left[0] = 0;
    if (Shared::InstallDir[0] == 0 || Shared::FileTable == nullptr) return 0;
    char path[kDirWidth];
    int staying = 0;
    for (int disk = 0; disk < Shared::DiskSet.DiskCount; ++disk) {
        for (int i = 0; i < Shared::DiskSet.Disk[disk].FileCount; ++i) {
            const FileEntry& e = Shared::FileTable[Shared::DiskSet.Disk[disk].FirstEntry + i];
            if (e.DestFile[0] != 0 && MakeDestPath(path, disk, i) && !RemoveFile(path)) {
                NoteLeft(left, width, path);
                ++staying;
            }
        }
    }
    // The entries' own directories, then SubDir6 ... SubDir1 (a later one may lie in an
    // earlier one), then the installation directory.
    for (int disk = 0; disk < Shared::DiskSet.DiskCount; ++disk) {
        for (int i = 0; i < Shared::DiskSet.Disk[disk].FileCount; ++i) {
            const FileEntry& e = Shared::FileTable[Shared::DiskSet.Disk[disk].FirstEntry + i];
            if (e.DestIsAbsolute == 0 && e.DestFile[0] != 0 &&
                TextJoin(path, kDirWidth, Shared::InstallDir, "\\", e.DestDir))
                RemoveEmptyDirs(path);
        }
    }
    for (int key = DirKeySub6; key >= DirKeySub1; --key)
        if (MakeSubDirPath(path, key)) RemoveEmptyDirs(path);
    RemoveDirectoryA(Shared::InstallDir);
    return staying;
}
