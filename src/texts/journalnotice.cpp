#include <windows.h>

#include "texts/journalnotice.h"

#include "resource.h"
#include "runtime/text.h"
#include "script/journal.h"
#include "script/model.h"
#include "texts/notice.h"

void ShowJournalLost(HWND owner, const char* journalDir) {
    char path[kJournalPathWidth];
    if (!JournalPath(path, journalDir)) TextCopy(path, kJournalPathWidth, "SETUP.INF");
    ShowMessage(owner, Shared::SetupCaption, path, IDS_JOURNAL_LOST, MB_ICONEXCLAMATION);
}
