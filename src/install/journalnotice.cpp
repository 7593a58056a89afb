#include <windows.h>

#include "install/journalnotice.h"

#include "resource.h"
#include "runtime/text.h"
#include "script/journal.h"
#include "script/model.h"
#include "texts/log.h"
#include "texts/notice.h"

void ReportJournalLost(HWND owner, const char* journalDir, int quiet) {
    char path[kJournalPathWidth];
    if (!JournalPath(path, journalDir)) TextCopy(path, kJournalPathWidth, "SETUP.INF");
    LogLine(path, " cannot be written: the mouse driver was not switched");
    if (!quiet)
        ShowMessage(owner, Shared::SetupCaption, path, IDS_JOURNAL_LOST, MB_ICONEXCLAMATION);
}
