#include <windows.h>

#include "install/companion.h"

#include "script/identity.h"

void CloseCompanionProgram() {
    enum { kCompanionWaitMs = 5000 };
    if (!HAS_COMPANION_WINDOW) return;
    HWND companion = FindWindowA(nullptr, COMPANION_WINDOW_TITLE);
    DWORD_PTR answer = 0;
    if (companion != nullptr)
        SendMessageTimeoutA(companion, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, kCompanionWaitMs, &answer);
}
