#include <windows.h>

#include "startup/switchstart.h"

#include "app/app.h"
#include "startup/exitcode.h"
#include "texts/log.h"
#include "texts/notice.h"

// The list of the program's switches, after a bad one or /?.
static void ShowSwitchList(unsigned listId, const char* caption, UINT icon) {
    ShowMessage(nullptr, caption, nullptr, listId, MB_OK | icon);
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
