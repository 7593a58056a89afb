// The install page SETUP_INSTALL: copies every listed file with status, percentage and
// gauge, lets the user cancel between files, then registers the product.
#include <windows.h>

#include "wizard/pages.h"

#include "install/copyengine.h"
#include "install/destdir.h"
#include "install/installlog.h"
#include "resource.h"
#include "script/model.h"
#include "texts/notice.h"
#include "wizard/copyprogress.h"

// Set while the installation runs inside WM_SETUP_INIT: the page must outlive it.
static int InstallRunning;

// The whole installation, then the page closes itself.
static void OnSetupInit(HWND page) {
    UpdateWindow(page);
    InstallLogStart(Shared::RunLog, Shared::InstallDir, Shared::CreatedInstallDir);
    MakeSubDirectories(Shared::RunLog);
    Shared::PageResult = 1;
    InstallRunning = 1;
    CopyFiles(page);
    if (Shared::PageResult == 0) ShowCancelNotice(page, Shared::ProductName, Shared::SetupCaption);
    InstallRunning = 0;
    SendMessageA(page, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK InstallPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (wParam != IDC_STOP_COPYING) break;
        Shared::PageResult =
            0;  // the copy stops before its next entry; the notice comes at the end
        return 0;
    case WM_CLOSE:
        // A close sent from elsewhere while copying would destroy the page under the copy:
        // take it as a cancel instead. (Alt+F4 sends none: the default procedure of the
        // pages ignores the close command.)
        if (!InstallRunning) break;
        Shared::PageResult = 0;
        return 0;
    case WM_PAINT:
        GaugeCoveredByPaint();  // the page's background covers the gauge's fill
        break;
    case WM_SETUP_INIT:
        OnSetupInit(page);
        return 0;
    }
    return PageDefaultProc(page, message, wParam, lParam);
}
