#include <windows.h>

#include "texts/notice.h"

#include "resource.h"
#include "runtime/text.h"
#include "texts/textring.h"

// A product name (71 characters) and a string-table text (127) fit whole.
enum { kMessageWidth = 256 };

int ShowMessage(HWND owner, const char* caption, const char* name, unsigned textId, UINT style) {
    char text[kMessageWidth];
    TextCopy(text, kMessageWidth, name != nullptr ? name : "");
    TextAppend(text, kMessageWidth, LoadTextOrEmpty(textId));
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
