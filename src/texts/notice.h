// The shared notice that the installation was not completed.
#pragma once
#include <windows.h>

// Shows ProductName + " installation is not completed !" owned by the given window,
// caption SetupCaption, exclamation icon, OK only.
void ShowCancelNotice(HWND owner);

// A message box without owner or with the given owner, caption SetupCaption, showing
// string-table text id with the given icon. The result is not examined.
void ShowMessage(HWND owner, unsigned textId, UINT icon);
