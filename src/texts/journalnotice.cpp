#include <windows.h>

#include "texts/journalnotice.h"

#include "resource.h"
#include "runtime/text.h"
#include "script/journal.h"
#include "script/model.h"
#include "texts/textring.h"

void ShowJournalLost(HWND owner) {
    char path[kJournalPathWidth];
    if (!JournalPath(path)) TextCopy(path, kJournalPathWidth, "SETUP.INF");
    const char* tail = LoadText(IDS_JOURNAL_LOST);
    char text[kJournalPathWidth + kLineWidth];
    TextJoin(text, sizeof(text), path, tail != nullptr ? tail : "");
    MessageBoxA(owner, text, Shared::SetupCaption, MB_ICONEXCLAMATION);
}
