// Process entry of a shipping console program: no C runtime is linked, so this hands the
// program's main the command-line tail and ends the process with its result.
#include <windows.h>

#include "runtime/cmdline.h"
#include "runtime/codepage.h"

int ConsoleMain(const char* tail);

extern "C" void mainCRTStartup() {
    UseSystemCodePage();
    ExitProcess(static_cast<UINT>(ConsoleMain(CommandLineTail(GetCommandLineA()))));
}
