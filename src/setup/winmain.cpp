// The setup driver: records what every page needs, chooses the mode from the command line
// and walks the wizard pages.
#include <windows.h>

#include "app/app.h"
#include "install/companion.h"
#include "install/systemini.h"
#include "presentation/background.h"
#include "registry/product.h"
#include "resource.h"
#include "runtime/text.h"
#include "script/loader.h"
#include "script/model.h"
#include "setup/sequence.h"
#include "texts/journalnotice.h"
#include "texts/notice.h"
#include "texts/textring.h"
#include "wizard/pages.h"
#include "wizard/pages.h"

// The program runs on the Windows 95/98 family only, which GetVersion marks with bit 31.
static int IsWindows9xFamily() { return (GetVersion() & 0x80000000u) != 0; }

// Reads the Windows directory and the setup script; on failure says so and gives 0.
static int LoadInstallModel() {
    GetWindowsDirectoryA(Shared::WindowsDir, kDirWidth);
    if (LoadSetupScript()) return 1;
    ShowMessage(nullptr, Shared::SetupCaption, nullptr, IDS_READ_ERROR, MB_ICONEXCLAMATION);
    return 0;
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

// After a completed copy: system.ini, the finish page, and the restart if it was chosen.
// A driver that was not switched (its journal could not be written, which the user was
// told) leaves system.ini and VMOUSE.VXD as they are too.
static void CompleteSetup() {
    if (Shared::DriverSwitched) PatchSystemIni();
    RunPage("SETUP_END", EndPageProc, IDD_END);
    ReleaseFileTable();
    DestroyWindow(Shared::BackgroundWindow);
    Shared::BackgroundWindow = nullptr;
    if (Shared::RestartChoice == 1) ExitWindowsEx(EWX_REBOOT, 0);
}

static void RunNormalMode() {
    if (!IsWindows9xFamily()) {
        // The script is not read yet, so there is no SetupCaption.
        ShowMessage(nullptr, "Warning", nullptr, IDS_WRONG_PLATFORM, MB_ICONEXCLAMATION);
        return;
    }
    if (!LoadInstallModel()) return;
    if (!CreateBackgroundWindow()) return;

    WizardState state = StateBegin;
    while (state != StateCompletion && state != StateCancelled) {
        WizardState next = NextWizardState(state, RunWizardPage(state));
        if (state == StateDirectory && next == StateInstall) CloseCompanionProgram();
        state = next;
    }
    if (state == StateCancelled) {
        ReleaseFileTable();  // the background window ends with the process
        return;
    }
    CompleteSetup();
}

// The driver-switch mode: the mouse page alone, then the driver is registered again for
// the chosen type, journalled beside the running program, and Windows restarts.
static void RunSwitchMode() {
    if (!LoadInstallModel()) return;
    Shared::BackAllowed = 0;
    if (RunPage("SETUP_SELMOUSE", SelMousePageProc, IDD_SELMOUSE) == 0) return;
    if (!RegisterProduct(0, Shared::SourceDir)) {
        ShowJournalLost(nullptr, Shared::SourceDir);  // nothing was switched: no restart
        return;
    }
    ShowMessage(nullptr, Shared::SetupCaption, nullptr, IDS_DRIVER_SWITCHED, MB_ICONINFORMATION);
    ExitWindowsEx(EWX_REBOOT, 0);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR tail, int) {
    Shared::ProductName[0] = 0;
    Shared::AppInstance = instance;
    Shared::ScreenWidth = static_cast<int16_t>(GetSystemMetrics(SM_CXSCREEN));
    Shared::ScreenHeight = static_cast<int16_t>(GetSystemMetrics(SM_CYSCREEN));
    if (IsSwitchMode(tail)) {
        RunSwitchMode();
    } else {
        RunNormalMode();
    }
    return 0;
}
