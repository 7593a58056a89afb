#include <windows.h>

#include "install/companion.h"

#include "script/identity.h"

void CloseCompanionProgram() {
    HWND companion = FindWindowA(nullptr, COMPANION_WINDOW_TITLE);
    if (companion != nullptr) SendMessageA(companion, WM_CLOSE, 0, 0);
}
