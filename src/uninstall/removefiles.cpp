#include <windows.h>

#include "uninstall/removefiles.h"

#include "install/installrecord.h"
#include "install/recordlines.h"
#include "install/samefile.h"
#include "registry/sharedcount.h"
#include "resource.h"
#include "runtime/text.h"
#include "script/journal.h"
#include "script/model.h"
#include "texts/log.h"
#include "texts/textring.h"
#include "uninstall/wininit.h"

enum { kQuestionWidth = 320 };

// The record read by LoadInstallRecord; null when there is none.
static char* Record;

int LoadInstallRecord() {
    char script[kDirWidth], dir[kDirWidth];
    if (Record != nullptr) GlobalFree(Record);
    Record = JournalPath(script, Shared::InstallDir) ? ReadInstallRecord(script) : nullptr;
    if (Record != nullptr && RecordDirectory(Record, dir, kDirWidth) &&
        SameExistingFile(dir, Shared::InstallDir))
        return 1;
    if (Record != nullptr) GlobalFree(Record);
    Record = nullptr;
    return 0;
}

// Deletes a file, read-only or not; one that stays is queued for the next start. The
// delete comes first: most files go with that one call.
static void RemoveFile(const char* path) {
    if (DeleteFileA(path)) {
        LogLine("removed ", path);
        return;
    }
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) && DeleteFileA(path))
        return;
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return;
    QueueRemovalAtRestart(path);
    LogLine("queued for removal at the next start: ", path);
}

// "... no program uses the shared file PATH any more. ..." with Yes and No, No the default.
static int AskRemoveShared(const char* path) {
    char text[kQuestionWidth];
    const char* before = LoadText(IDS_UNINSTALL_SHARED);
    const char* after = LoadText(IDS_UNINSTALL_SHARED_END);
    if (!TextJoin(text, kQuestionWidth, before != nullptr ? before : "", path,
                  after != nullptr ? after : ""))
        return 0;
    return MessageBoxA(nullptr, text, Shared::SetupCaption,
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

// One installation fewer uses the shared file; at none, it goes if the user agrees (with
// keepShared nobody is asked, and it stays).
static void ReleaseShared(const char* path, int keepShared) {
    if (ReleaseSharedUse(path) != 0) return;
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        ForgetSharedUse(path);
        return;
    }
    if (keepShared || !AskRemoveShared(path)) {
        LogLine("shared file kept, no program uses it any more: ", path);
        return;
    }
    ForgetSharedUse(path);
    RemoveFile(path);
}

void RemoveInstalledFiles(int keepShared) {
    if (Record == nullptr) return;
    enum { kKeyWidth = kDirWidth };
    char path[kKeyWidth];
    int dirs = 0;
    for (const char* line = Record; line != nullptr; line = NextRecordLine(line)) {
        RecordKind kind = SplitRecordLine(line, path, kKeyWidth);
        if (kind == RecordNew) RemoveFile(path);
        if (kind == RecordShared) ReleaseShared(path, keepShared);
        if (kind == RecordDir) ++dirs;
    }
    // The directories, the last created first: one created later lies in an earlier one,
    // never the other way round.
    for (; dirs > 0; --dirs) {
        int seen = 0;
        for (const char* line = Record; line != nullptr; line = NextRecordLine(line))
            if (SplitRecordLine(line, path, kKeyWidth) == RecordDir && ++seen == dirs) break;
        RemoveDirectoryA(path);
    }
    GlobalFree(Record);
    Record = nullptr;
}
