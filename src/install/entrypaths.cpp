#include "install/entrypaths.h"

#include "runtime/text.h"
#include "script/model.h"

static const FileEntry& EntryOf(int disk, int index) {
    return Shared::FileTable[Shared::DiskSet.Disk[disk].FirstEntry + index];
}

int MakeSourcePath(char* buffer, int disk, int index) {
    const FileEntry& e = EntryOf(disk, index);
    return TextJoin(buffer, kDirWidth, Shared::SourceDir, "\\", e.DirName, "\\", e.SourceFile);
}

int MakeDestPath(char* buffer, int disk, int index) {
    const FileEntry& e = EntryOf(disk, index);
    if (e.DestIsAbsolute != 0) return TextJoin(buffer, kDirWidth, e.DestDir, "\\", e.DestFile);
    return TextJoin(buffer, kDirWidth, Shared::InstallDir, "\\", e.DestDir, "\\", e.DestFile);
}

int MakeSubDirPath(char* buffer, int key) {
    buffer[0] = 0;
    if (Shared::DirTable[key][0] == 0) return 0;
    return TextJoin(buffer, kDirWidth, Shared::InstallDir, "\\", Shared::DirTable[key]);
}
