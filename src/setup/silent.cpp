#include <windows.h>

#include "setup/silent.h"

#include "startup/exitcode.h"
#include "install/companion.h"
#include "install/destdir.h"
#include "install/installlog.h"
#include "install/installrun.h"
#include "registry/product.h"
#include "script/model.h"
#include "install/journalnotice.h"
#include "texts/log.h"

// A failed entry ends the run, as Abort would: nobody is there to be asked.
static CopyAnswer AbortOnFailure(void*, const CopyFailureReport*) { return CopyAbort; }

static void LogRegistration(void*) { LogLine("registration"); }

static const char* const kVerdictTexts[] = {
    "",
    "the destination is refused: it is not of the form X:\\...",
    "the destination is refused: its drive has too little free space",
    "the destination is refused: it cannot be created",
};

int RunSilentInstallation(const Switches&) {
    DestinationVerdict verdict = AcceptDestination(Shared::InstallDir);
    if (verdict != DestinationAccepted) {
        LogLine(kVerdictTexts[verdict]);
        return ExitDestinationRefused;
    }
    CloseCompanionProgram();
    CopyCaller caller = {};
    caller.EntryFailed = AbortOnFailure;
    caller.RegistrationBegins = LogRegistration;
    InstallLogStart(Shared::RunLog, Shared::InstallDir, Shared::CreatedInstallDir);
    if (!RunInstallation(&caller, Shared::RunLog)) {
        LogLine("the installation was aborted and put back: nothing is registered");
        return ExitStopped;
    }
    if (!Shared::DriverSwitched) {
        ReportJournalLost(nullptr, Shared::InstallDir, 1);
        LogLine("system.ini is left as it is");
        return ExitJournalLost;
    }
    return ExitDone;
}

int RunSilentSwitch(const Switches&) {
    LogLine("registration for the ", Shared::MouseKind != 0 ? "serial" : "PS/2", " mouse");
    if (!RegisterProduct(0, Shared::SourceDir)) {
        ReportJournalLost(nullptr, Shared::SourceDir, 1);
        return ExitJournalLost;
    }
    return ExitDone;
}
