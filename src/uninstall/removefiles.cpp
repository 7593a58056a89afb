#include <windows.h>

#include "uninstall/removefiles.h"

#include "install/entrypaths.h"
#include "runtime/text.h"
#include "script/model.h"
#include "install/wininit.h"

// Deletes a file, read-only or not; one that stays is queued for the next start.
static void RemoveFile(const char* path) {
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path)) return;
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) QueueRemovalAtRestart(path);
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

void RemoveInstalledFiles() {
    if (Shared::InstallDir[0] == 0 || Shared::FileTable == nullptr) return;
    char path[kDirWidth];
    for (int disk = 0; disk < Shared::DiskSet.DiskCount; ++disk) {
        for (int i = 0; i < Shared::DiskSet.Disk[disk].FileCount; ++i) {
            const FileEntry& e = Shared::FileTable[Shared::DiskSet.Disk[disk].FirstEntry + i];
            if (e.DestFile[0] != 0 && MakeDestPath(path, disk, i)) RemoveFile(path);
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
}
