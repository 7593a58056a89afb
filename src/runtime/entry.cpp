// Process entry of the shipping executable: no C runtime is linked, so this hands
// WinMain the command-line tail and ends the process with its result.
#include <windows.h>

#include "runtime/cmdline.h"
#include "runtime/codepage.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR tail, int show);

extern "C" void WinMainCRTStartup() {
    UseSystemCodePage();
    STARTUPINFOA startup;
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    LPSTR tail = const_cast<LPSTR>(CommandLineTail(GetCommandLineA()));
    int result = WinMain(GetModuleHandleA(nullptr), nullptr, tail, show);
    ExitProcess(static_cast<UINT>(result));
}
