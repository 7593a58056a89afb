#include <windows.h>

#include "wizard/copyfailure.h"

#include "install/wininitrule.h"
#include "resource.h"
#include "runtime/text.h"
#include "script/model.h"
#include "texts/notice.h"
#include "texts/textring.h"
#include "wizard/pages.h"

enum { kFailureTextWidth = 384 };

// The string-table text that says why, and what the user can do about it.
static unsigned ReasonText(const CopyFailureReport* failure) {
    switch (failure->Why) {
    case CopyFailedTooLong:
        return failure->Source[0] == 0 ? IDS_COPY_SOURCE_TOO_LONG : IDS_COPY_DEST_TOO_LONG;
    case CopyFailedSource:
        return IDS_COPY_NO_SOURCE;
    case CopyFailedDest:
        return IDS_COPY_NO_DEST;
    case CopyFailedNameTooLong:
        return IDS_COPY_NAME_TOO_LONG;
    default:
        return IDS_COPY_DAMAGED;
    }
}

enum { kShownPathWidth = 160 };  // beyond any composed path: 79 + 39 + 14 and separators

// The destination as the user reads it (no "." parts, no "\\"). A path too long for the
// copy is composed again without the copy's limit, so that the box can show it.
static void ShownDest(const CopyFailureReport* failure, char* out) {
    char wide[kShownPathWidth];
    const FileEntry* e = failure->Entry;
    if (failure->Dest[0] != 0)
        TextCopy(wide, kShownPathWidth, failure->Dest);
    else if (e->DestIsAbsolute != 0)
        TextJoin(wide, kShownPathWidth, e->DestDir, "\\", e->DestFile);
    else
        TextJoin(wide, kShownPathWidth, Shared::InstallDir, "\\", e->DestDir, "\\", e->DestFile);
    if (!PlainPath(out, wide)) TextCopy(out, kShownPathWidth, wide);
}

CopyAnswer AskAboutFailedEntry(HWND page, const CopyFailureReport* failure) {
    // "<source> cannot be copied to <destination>." (at most 13 + 127 characters and the
    // text of 127), an empty line, and the reason.
    char head[kFailureTextWidth];
    char format[kLineWidth];
    char dest[kShownPathWidth];
    if (failure->Why == CopyFailedNameTooLong) {
        // The line's names did not fit: the entry is known by its description only.
        TextJoin(head, kFailureTextWidth, "\"", failure->Entry->Description, "\"");
    } else {
        TextCopy(format, kLineWidth, LoadTextOrEmpty(IDS_COPY_CANNOT));
        ShownDest(failure, dest);
        wsprintfA(head, format, failure->Entry->SourceFile, dest);
    }
    TextAppend(head, kFailureTextWidth, "\n\n");
    switch (ShowMessage(page, Shared::SetupCaption, head, ReasonText(failure),
                        MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION)) {
    case IDRETRY:
        return CopyRetry;
    case IDIGNORE:
        return CopyGoOn;
    default:  // Abort, or a box that could not be shown
        Shared::PageResult = 0;
        return CopyAbort;
    }
}
