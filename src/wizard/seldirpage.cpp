#include <windows.h>

#include "install/destdir.h"
#include "resource.h"
#include "script/model.h"
#include "texts/notice.h"
#include "wizard/browse.h"
#include "wizard/pages.h"

// Next: accepts the destination only when it has the form "X:\...", its drive has
// MinimumSpace kilobytes free and the directory exists or can be created. Otherwise the
// page says why and stays open.
static void SelDirNext(HWND page) {
    Shared::PageResult = 1;
    GetDlgItemTextA(page, IDC_DESTDIR, Shared::InstallDir, kDirWidth);
    DestinationVerdict verdict = AcceptDestination(Shared::InstallDir);
    if (verdict != DestinationAccepted) {
        unsigned id = verdict == DestinationNoSpace ? IDS_NO_SPACE : IDS_CANNOT_CREATE;
        ShowMessage(page, Shared::SetupCaption, nullptr, id, MB_ICONEXCLAMATION);
        return;
    }
    ClosePage(page);
}

// Next checks the destination; Browse opens the browser and shows what it chose.
// Returns 1 when the command was the page's own.
static int SelDirCommand(HWND page, WPARAM wParam) {
    switch (wParam) {
    case IDC_NEXT:
        SelDirNext(page);
        return 1;
    case IDC_BROWSE:
        BrowseForDirectory(page);
        SetDlgItemTextA(page, IDC_DESTDIR, Shared::InstallDir);
        break;
    }
    return 0;
}

LRESULT CALLBACK SelDirPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (SelDirCommand(page, wParam)) return 0;
        break;
    case WM_SETUP_INIT:
        FillPlaceholder(page, IDC_TEXT1);
        SetDlgItemTextA(page, IDC_DESTDIR, Shared::InstallDir);
        break;
    }
    return WizardPageDefaultProc(page, message, wParam, lParam);
}
