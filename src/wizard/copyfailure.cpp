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
static unsigned ReasonText(CopyFailure why) {
    switch (why) {
    case CopyFailedSource:
        return IDS_COPY_NO_SOURCE;
    case CopyFailedDest:
        return IDS_COPY_NO_DEST;
    default:
        return IDS_COPY_DAMAGED;
    }
}

CopyAnswer AskAboutFailedEntry(HWND page, const CopyFailureReport* failure) {
    // "<source> cannot be copied to <destination>." (at most 13 + 127 characters and the
    // text of 127), an empty line, and the reason.
    char head[kFailureTextWidth];
    char format[kLineWidth];
    char dest[kRenamePathWidth];  // as the user reads a path: no "." parts, no "\\"
    TextCopy(format, kLineWidth, LoadTextOrEmpty(IDS_COPY_CANNOT));
    PlainPath(dest, failure->Dest);
    wsprintfA(head, format, failure->Entry->SourceFile, dest);
    TextAppend(head, kFailureTextWidth, "\n\n");
    switch (ShowMessage(page, Shared::SetupCaption, head, ReasonText(failure->Why),
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
