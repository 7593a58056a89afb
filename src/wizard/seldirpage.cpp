#include <windows.h>

#include "resource.h"
#include "runtime/fileexists.h"
#include "script/destination.h"
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
    char root[kRootPathWidth];
    DestinationRoot(root, Shared::InstallDir);
    if (!DestinationFormOk(Shared::InstallDir)) {
        ShowMessage(page, Shared::SetupCaption, nullptr, IDS_CANNOT_CREATE, MB_ICONEXCLAMATION);
        return;
    }
    int existed = DirectoryExists(Shared::InstallDir);
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    // A drive that cannot be queried (no medium, no such drive) has no room to offer.
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters) ||
        !SpaceSuffices(FreeKilobytes(sectorsPerCluster, bytesPerSector, freeClusters),
                       Shared::MinimumSpace)) {
        ShowMessage(page, Shared::SetupCaption, nullptr, IDS_NO_SPACE, MB_ICONEXCLAMATION);
        return;
    }
    // Only the last component is created: a missing parent fails.
    if (!existed && !CreateDirectoryA(Shared::InstallDir, nullptr)) {
        ShowMessage(page, Shared::SetupCaption, nullptr, IDS_CANNOT_CREATE, MB_ICONEXCLAMATION);
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
