#include <windows.h>

#include "wizard/browse.h"

#include "app/app.h"
#include "resource.h"
#include "runtime/text.h"
#include "script/model.h"
#include "wizard/pages.h"

// The path text while the browser is open; it carries the choice back to the page.
static char BrowseBuffer[kDirWidth];

// Hook of the browser: keeps the path field in step with the directory the user opens.
// Always returns 0, so the dialog's own handling runs too.
static UINT_PTR CALLBACK BrowseHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The open dialog insists on a file name; this one only lets it start and end. The size
// given to the dialog is the whole buffer, terminating zero included: the dialog reads the
// name as a string of at most that many characters, and a size that leaves the zero out
// makes it read past the buffer (the hidden name field then holds whatever follows, and OK
// no longer closes the dialog). On OK the dialog writes the dummy name back, on some
// versions behind the full directory path, so the buffer has room for a whole path: one
// too small for that fails the dialog and loses the user's choice.
static char BrowseFileName[MAX_PATH];

void BrowseForDirectory(HWND page) {
    TextCopy(BrowseFileName, sizeof(BrowseFileName), "12345678.ABC");
    OPENFILENAMEA request;
    ZeroBytes(&request, sizeof(request));
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // the record Windows 95 knows
    request.hwndOwner = page;
    request.hInstance = Shared::AppInstance;
    request.lpstrFile = BrowseFileName;
    request.nMaxFile = sizeof(BrowseFileName);
    request.lpstrInitialDir = "C:\\";
    request.Flags =
        OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_NOVALIDATE;
    request.lpfnHook = BrowseHookProc;
    request.lpTemplateName = MAKEINTRESOURCEA(IDD_BROWSE);
    // The common dialogs are loaded when the browser is first asked for, not at start:
    // they bring further libraries with them, and most runs (every /S run) never browse.
    typedef BOOL(WINAPI * OpenFileName)(LPOPENFILENAMEA);
    HMODULE dialogs = LoadLibraryA("COMDLG32.DLL");
    FARPROC found = dialogs != nullptr ? GetProcAddress(dialogs, "GetOpenFileNameA") : nullptr;
    OpenFileName open = reinterpret_cast<OpenFileName>(reinterpret_cast<void*>(found));
    if (open != nullptr && open(&request))
        TextCopy(Shared::InstallDir, kDirWidth, BrowseBuffer);
}

// OK takes the path field as it is; a change of directory or drive refreshes the field
// once the dialog has acted on it (the refresh is posted, not done at once).
static void BrowseCommand(HWND dialog, WPARAM wParam) {
    WORD id = LOWORD(wParam);
    WORD code = HIWORD(wParam);
    if (id == IDOK) {
        GetDlgItemTextA(dialog, IDC_BROWSE_PATH, BrowseBuffer, kDirWidth);
    } else if ((id == IDC_DIRLIST && (code == LBN_SELCHANGE || code == LBN_DBLCLK)) ||
               (id == IDC_DRIVECOMBO && code == CBN_SELCHANGE)) {
        PostMessageA(dialog, WM_BROWSE_REFRESH, 0, 0);
    }
}

// The dialog makes the directory the user opens the current one while it is open.
static void BrowseRefresh(HWND dialog) {
    char current[kDirWidth];
    DWORD length = GetCurrentDirectoryA(sizeof(current), current);
    if (length > 0 && length < sizeof(current)) TextCopy(BrowseBuffer, kDirWidth, current);
    SetDlgItemTextA(dialog, IDC_BROWSE_PATH, BrowseBuffer);
}

static void BrowseInit(HWND dialog) {
    HWND path = GetDlgItem(dialog, IDC_BROWSE_PATH);
    SetWindowTextA(path, BrowseBuffer);
    SetFocus(path);
    SendMessageA(path, EM_SETSEL, 0, static_cast<LPARAM>(0xFFFF0000u));
}

static UINT_PTR CALLBACK BrowseHookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        TextCopy(BrowseBuffer, kDirWidth, Shared::InstallDir);
        PostMessageA(dialog, WM_SETUP_INIT, 0, 0);
        break;
    case WM_COMMAND:
        BrowseCommand(dialog, wParam);
        break;
    case WM_SETUP_INIT:
        BrowseInit(dialog);
        break;
    case WM_BROWSE_REFRESH:
        BrowseRefresh(dialog);
        break;
    }
    return 0;
}
