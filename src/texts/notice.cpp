#include <windows.h>

#include "texts/notice.h"

#include "app/app.h"
#include "resource.h"
#include "runtime/text.h"
#include "texts/textring.h"

int ShowMessage(HWND owner, const char* caption, const char* name, unsigned textId, UINT style,
                const char* more) {
    // Read straight into the box's text: a table text may be longer than a slot of the ring
    // (the list of switches).
    static char text[kMessageWidth];
    TextCopy(text, kMessageWidth, name != nullptr ? name : "");
    int n = TextLength(text);
    if (n < kMessageWidth - 1 &&
        LoadStringA(Shared::AppInstance, textId & 0xFFFF, text + n, kMessageWidth - n) <= 0)
        text[n] = 0;
    if (more != nullptr) TextAppend(text, kMessageWidth, more);
    // An owner that is gone (a page that Cancel closed) would keep the box from showing.
    if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
    return MessageBoxA(owner, text, caption, style);
}

void ShowCancelNotice(HWND owner, const char* productName, const char* caption) {
    ShowMessage(owner, caption, productName, IDS_NOT_COMPLETED, MB_ICONEXCLAMATION);
}

void ComposeCaption(char* caption, int width, const char* productName, unsigned tailId) {
    TextCopy(caption, width, productName);
    TextAppend(caption, width, " ");
    TextAppend(caption, width, LoadTextOrEmpty(tailId));
}
