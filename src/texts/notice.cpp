#include <windows.h>

#include "texts/notice.h"

#include "resource.h"
#include "runtime/text.h"
#include "script/model.h"
#include "texts/textring.h"

void ShowCancelNotice(HWND owner) {
    char text[kLineWidth];
    TextCopy(text, sizeof(text), Shared::ProductName);
    const char* tail = LoadText(IDS_NOT_COMPLETED);
    TextAppend(text, sizeof(text), tail != nullptr ? tail : "");
    MessageBoxA(owner, text, Shared::SetupCaption, MB_ICONEXCLAMATION);
}

void ShowMessage(HWND owner, unsigned textId, UINT icon) {
    const char* text = LoadText(textId);
    MessageBoxA(owner, text != nullptr ? text : "", Shared::SetupCaption, icon);
}
