#include <windows.h>

#include "app/switchstart.h"

#include "app/app.h"
#include "app/exitcode.h"
#include "texts/log.h"

enum { kSwitchListWidth = 1024 };

// The list of switches is longer than a text of the ring (texts/textring.h): it is loaded
// into a buffer of its own.
static void ShowSwitchList(unsigned listId, const char* caption, UINT icon) {
    char text[kSwitchListWidth];
    if (LoadStringA(Shared::AppInstance, listId, text, kSwitchListWidth) <= 0) text[0] = 0;
    MessageBoxA(nullptr, text, caption, MB_OK | icon);
}

int StartWithSwitches(const char* tail, SwitchSet set, Switches* out, unsigned listId,
                      const char* caption) {
    int good = ParseSwitches(tail, set, out);
    if (!good || out->help) {
        // An unattended run shows nothing: the exit code says it.
        if (!out->silent)
            ShowSwitchList(listId, caption, good ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
        return good ? ExitDone : ExitBadSwitch;
    }
    if (out->logPath[0] != 0) {
        if (!LogOpen(out->logPath)) return ExitNoLog;
        LogLine("command line: ", GetCommandLineA());
    }
    return -1;
}

int EndRun(int code) {
    LogLineNumber("exit code", " ", code);
    LogClose();
    return code;
}
