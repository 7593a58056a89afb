// The setup driver: records what every page needs, chooses the mode from the command line
// and walks the wizard pages, or with /S runs without any window.
#include <windows.h>

#include "app/app.h"
#include "startup/exitcode.h"
#include "startup/switchstart.h"
#include "install/companion.h"
#include "install/installlog.h"
#include "install/systemini.h"
#include "presentation/background.h"
#include "registry/product.h"
#include "resource.h"
#include "runtime/text.h"
#include "runtime/textfile.h"
#include "script/loader.h"
#include "script/model.h"
#include "setup/sequence.h"
#include "setup/silent.h"
#include "install/journalnotice.h"
#include "texts/log.h"
#include "texts/notice.h"
#include "texts/textring.h"
#include "wizard/pages.h"

// What a run ends with: its exit code, and whether Windows restarts after it.
struct RunEnd {
    int code;
    int restart;
};

// The program runs on the Windows 95/98 family only, which GetVersion marks with bit 31.
static int IsWindows9xFamily() { return (GetVersion() & 0x80000000u) != 0; }

// 1 when the loaded script's file can be opened. The profile functions read a missing
// file as one without keys, so the loader alone does not tell.
static int ScriptReadable() {
    TextFile file;
    if (!TextFileOpenRead(&file, Shared::ScriptPath)) return 0;
    TextFileClose(&file);
    return 1;
}

// Reads the Windows directory and the setup script, then takes the switches' directory
// and mouse type over the script's. On failure says so (in a box unless silent) and gives 0.
// With switches a script that cannot be opened is a failure too; without them the run
// goes on from the loader's defaults, as it always did.
static int LoadInstallModel(const Switches& switches) {
    GetWindowsDirectoryA(Shared::WindowsDir, kDirWidth);
    if (!LoadSetupScript() || (switches.any && !ScriptReadable())) {
        LogLine("SETUP.INF cannot be read beside the program");
        if (!switches.silent)
            ShowMessage(nullptr, Shared::SetupCaption, nullptr, IDS_READ_ERROR, MB_ICONEXCLAMATION);
        return 0;
    }
    if (switches.installDir[0] != 0) TextCopy(Shared::InstallDir, kDirWidth, switches.installDir);
    if (switches.mouse != MouseNotChosen) Shared::MouseKind = switches.mouse == MouseChosenSerial;
    LogLine("script: ", Shared::ScriptPath, " (", Shared::ProductName, ")");
    LogLine("installation directory: ", Shared::InstallDir);
    LogLine("mouse type: ", Shared::MouseKind != 0 ? "serial" : "PS/2");
    return 1;
}

// One page of the normal mode, run to its end.
static int16_t RunWizardPage(WizardState state) {
    switch (state) {
    case StateBegin:
        return RunPage("SETUP_BEGIN", BeginPageProc, IDD_BEGIN);
    case StateMouse:
        return RunPage("SETUP_SELMOUSE", SelMousePageProc, IDD_SELMOUSE);
    case StateDirectory:
        return RunPage("SETUP_SELDIR", SelDirPageProc, IDD_SELDIR);
    default:
        return RunPage("SETUP_INSTALL", InstallPageProc, IDD_INSTALL);
    }
}

// After a completed copy: system.ini and the finish page. Returns the restart choice.
// A driver that was not switched (its journal could not be written, which the user was
// told) leaves system.ini and VMOUSE.VXD as they are too.
static int CompleteSetup() {
    if (Shared::DriverSwitched) PatchSystemIni(Shared::RunLog);
    RunPage("SETUP_END", EndPageProc, IDD_END);
    ReleaseFileTable();
    DestroyWindow(Shared::BackgroundWindow);
    Shared::BackgroundWindow = nullptr;
    LogLine(Shared::RestartChoice == 1 ? "restart: chosen on the finish page"
                                       : "restart: later, as chosen on the finish page");
    return Shared::RestartChoice == 1;
}

static RunEnd RunNormalMode(const Switches& switches) {
    if (!IsWindows9xFamily()) {
        LogLine("not Windows 95/98: nothing is done");
        // The script is not read yet, so there is no SetupCaption.
        if (!switches.silent)
            ShowMessage(nullptr, LoadTextOrEmpty(IDS_WARNING), nullptr, IDS_WRONG_PLATFORM,
                        MB_ICONEXCLAMATION);
        return {ExitWrongPlatform, 0};
    }
    if (!LoadInstallModel(switches)) return {ExitNoScript, 0};
    if (switches.silent) {
        int code = RunSilentInstallation(switches);
        ReleaseFileTable();
        return {code, code == ExitDone && switches.restart};
    }
    if (!CreateBackgroundWindow()) return {ExitStopped, 0};

    WizardState state = StateBegin;
    while (state != StateCompletion && state != StateCancelled) {
        WizardState next = NextWizardState(state, RunWizardPage(state));
        if (state == StateDirectory && next == StateInstall) CloseCompanionProgram();
        state = next;
    }
    if (state == StateCancelled) {
        LogLine("cancelled");
        ReleaseFileTable();  // the background window ends with the process
        return {ExitStopped, 0};
    }
    int code = Shared::DriverSwitched ? ExitDone : ExitJournalLost;
    return {code, CompleteSetup()};
}

// The driver-switch mode: the mouse page alone (none with /S), then the driver is
// registered again for the chosen type, journalled beside the running program, and
// Windows restarts (with /S only when /RESTART asks).
static RunEnd RunSwitchMode(const Switches& switches) {
    if (!LoadInstallModel(switches)) return {ExitNoScript, 0};
    if (switches.silent) return {RunSilentSwitch(switches), switches.restart};
    Shared::BackAllowed = 0;
    if (RunPage("SETUP_SELMOUSE", SelMousePageProc, IDD_SELMOUSE) == 0) {
        LogLine("cancelled");
        return {ExitStopped, 0};
    }
    if (!RegisterProduct(0, Shared::SourceDir)) {
        ReportJournalLost(nullptr, Shared::SourceDir);  // nothing was switched: no restart
        return {ExitJournalLost, 0};
    }
    ShowMessage(nullptr, Shared::SetupCaption, nullptr, IDS_DRIVER_SWITCHED, MB_ICONINFORMATION);
    return {ExitDone, 1};
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR tail, int) {
    Shared::ProductName[0] = 0;
    Shared::AppInstance = instance;
    Switches switches;
    int early = StartWithSwitches(tail, SetupSwitches, &switches, IDS_SETUP_SWITCHES,
                                  LoadTextOrEmpty(IDS_SETUP));
    if (early >= 0) return early;
    if (!switches.silent) {
        Shared::ScreenWidth = static_cast<int16_t>(GetSystemMetrics(SM_CXSCREEN));
        Shared::ScreenHeight = static_cast<int16_t>(GetSystemMetrics(SM_CYSCREEN));
    }
    // The install log of the run; the pages and the unattended run start it once the
    // installation directory is known.
    InstallLog log;
    InstallLogInit(&log);
    Shared::RunLog = &log;
    RunEnd end = IsSwitchMode(tail) ? RunSwitchMode(switches) : RunNormalMode(switches);
    InstallLogClose(&log);
    Shared::RunLog = nullptr;
    if (switches.silent && end.code == ExitDone)
        LogLine(end.restart ? "restart: Windows restarts (/RESTART)"
                            : "restart: none (no /RESTART)");
    int code = EndRun(end.code);
    if (end.restart) ExitWindowsEx(EWX_REBOOT, 0);
    // Without switches the program ends with 0, whatever happened, as it always did.
    return switches.any ? code : 0;
}
