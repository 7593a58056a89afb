// The programs' message boxes: one helper that takes its text from the string table, and
// the captions they carry.
#pragma once
#include <windows.h>

// A message box owned by owner (or none), with caption, showing name (when not null) followed by
// the text of string-table id (empty when the table has none) and more (when not null); style
// gives icon and buttons. The whole text is cut at kMessageWidth. Returns the box's answer.
enum { kMessageWidth = 1280 };
int ShowMessage(HWND owner, const char* caption, const char* name, unsigned textId, UINT style,
                const char* more = nullptr);

// Shows productName + " installation is not completed !" owned by the given window, with
// caption, exclamation icon, OK only.
void ShowCancelNotice(HWND owner, const char* productName, const char* caption);

// productName + " " + the text of string-table id tailId into caption (width wide, cut
// to fit): "<ProductName> Setup Program", "<ProductName> Uninstall".
void ComposeCaption(char* caption, int width, const char* productName, unsigned tailId);
