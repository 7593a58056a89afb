#include <windows.h>

#include "app/app.h"
#include "resource.h"
#include "wizard/pages.h"

// Finish (Enter): the restart choice is read once, here. The page has no Cancel, so Esc
// (command 2) does nothing; PageResult stays as the copying page left it.
static LRESULT EndCommand(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (wParam != IDC_NEXT) return DefWindowProcA(page, message, wParam, lParam);
    if (IsDlgButtonChecked(page, IDC_RESTART_LATER) == BST_CHECKED) Shared::RestartChoice = 0;
    ClosePage(page);
    return 0;
}

LRESULT CALLBACK EndPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CaptionAndCenterPage(page, 1);  // the screen size is asked anew on this page
        return 0;
    case WM_COMMAND:
        return EndCommand(page, message, wParam, lParam);
    case WM_SETUP_INIT:
        FillPlaceholder(page, IDC_TEXT1);
        CheckRadioButton(page, IDC_RESTART_NOW, IDC_RESTART_LATER,
                         Shared::RestartChoice != 0 ? IDC_RESTART_NOW : IDC_RESTART_LATER);
        break;
    }
    return PageDefaultProc(page, message, wParam, lParam);
}
