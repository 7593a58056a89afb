#include <windows.h>

#include "uninstall/removefiles.h"

#include "install/installrecord.h"
#include "install/recordlines.h"
#include "install/samefile.h"
#include "install/wininit.h"
#include "install/wininitrule.h"
#include "registry/sharedcount.h"
#include "resource.h"
#include "runtime/fileexists.h"
#include "runtime/text.h"
#include "script/journal.h"
#include "script/model.h"
#include "texts/log.h"
#include "texts/notice.h"
#include "texts/textring.h"

enum { kQuestionWidth = 320 };

// The record read by LoadInstallRecord; null when there is none.
static char* Record;

// The files that stay, one a line (see RemoveInstalledFiles), and how many.
struct LeftFiles {
    char* text;
    int width;
    int count;
};

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

// Adds path as a line of its own to the list of what stays; "..." ends a list that is full.
static void NoteLeft(LeftFiles* left, const char* path) {
    static const char kMore[] = "...";
    ++left->count;
    int n = TextLength(left->text);
    if (n >= 3 && TextEqual(left->text + n - 3, kMore)) return;
    char plain[kRenamePathWidth], line[kRenamePathWidth + 2];
    if (!PlainPath(plain, path)) TextCopy(plain, kRenamePathWidth, path);
    TextJoin(line, sizeof(line), n > 0 ? "\n" : "", plain);
    if (n + TextLength(line) + 5 < left->width)
        TextAppend(left->text, left->width, line);
    else
        TextAppend(left->text, left->width, n > 0 ? "\n..." : kMore);
}

// Deletes a file, read-only or not; one that stays is queued for the next start, and one
// that can neither go nor be queued is noted in left. The delete comes first: most files
// go with that one call.
static void RemoveFile(const char* path, LeftFiles* left) {
    if (DeleteFileA(path)) {
        LogLine("removed ", path);
        return;
    }
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) && DeleteFileA(path))
        return;
    if (!FileExists(path)) return;
    if (QueueRemovalAtRestart(path)) {
        LogLine("queued for removal at the next start: ", path);
        return;
    }
    LogLine("cannot be removed, now or at the next start: ", path);
    NoteLeft(left, path);
}

// "... no program uses the shared file PATH any more. ..." with Yes and No, No the default.
static int AskRemoveShared(const char* path) {
    char after[kQuestionWidth];
    TextJoin(after, kQuestionWidth, path, LoadTextOrEmpty(IDS_UNINSTALL_SHARED_END));
    return ShowMessage(nullptr, Shared::SetupCaption, nullptr, IDS_UNINSTALL_SHARED,
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, after) == IDYES;
}

// One installation fewer uses the shared file; at none, it goes if the user agrees (with
// keepShared nobody is asked, and it stays).
static void ReleaseShared(const char* path, int keepShared, LeftFiles* left) {
    if (ReleaseSharedUse(path) != 0) return;
    if (!FileExists(path)) {
        ForgetSharedUse(path);
        return;
    }
    if (keepShared || !AskRemoveShared(path)) {
        LogLine("shared file kept, no program uses it any more: ", path);
        return;
    }
    ForgetSharedUse(path);
    RemoveFile(path, left);
}

int RemoveInstalledFiles(int keepShared, char* leftText, int width) {
    LeftFiles left = {leftText, width, 0};
    leftText[0] = 0;
    if (Record == nullptr) return 0;
    enum { kKeyWidth = kDirWidth };
    char path[kKeyWidth];
    int dirs = 0;
    for (const char* line = Record; line != nullptr; line = NextRecordLine(line)) {
        RecordKind kind = SplitRecordLine(line, path, kKeyWidth);
        if (kind == RecordNew) RemoveFile(path, &left);
        if (kind == RecordShared) ReleaseShared(path, keepShared, &left);
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
    return left.count;
}
