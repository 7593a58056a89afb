#include <windows.h>

#include "resource.h"
#include "script/model.h"
#include "setup/app.h"
#include "wizard/pages.h"

// Shows MouseKind as the checked radio button and Back as BackAllowed says.
static void SelMouseInit(HWND page) {
    CheckRadioButton(page, IDC_SERIAL, IDC_PS2, MouseKind != 0 ? IDC_SERIAL : IDC_PS2);
    EnableWindow(GetDlgItem(page, IDC_BACK), BackAllowed != 0);
}

// The buttons; a click on a radio button changes MouseKind at once, not at Next.
static LRESULT SelMouseCommand(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (wParam) {
    case IDC_NEXT:
        EndPage(page, 1);
        return 0;
    case IDC_CANCEL:
        CancelPage(page);
        return 0;
    case IDC_BACK:
        EndPage(page, 2);
        return 0;
    case IDC_SERIAL:
        MouseKind = 1;
        break;
    case IDC_PS2:
        MouseKind = 0;
        break;
    }
    return DefWindowProcA(page, message, wParam, lParam);
}

LRESULT CALLBACK SelMousePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CenterPage(page, 0);
        break;
    case WM_DESTROY:
        return EndPageLoop();
    case WM_COMMAND:
        return SelMouseCommand(page, message, wParam, lParam);
    case WM_SETUP_INIT:
        SelMouseInit(page);
        break;
    }
    return PageDefaultProc(page, message, wParam, lParam);
}
