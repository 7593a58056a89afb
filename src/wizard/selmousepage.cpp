#include <windows.h>

#include "app/app.h"
#include "resource.h"
#include "script/model.h"
#include "wizard/pages.h"

// Shows MouseKind as the checked radio button and Back as BackAllowed says.
static void SelMouseInit(HWND page) {
    CheckRadioButton(page, IDC_SERIAL, IDC_PS2, Shared::MouseKind != 0 ? IDC_SERIAL : IDC_PS2);
    EnableWindow(GetDlgItem(page, IDC_BACK), Shared::BackAllowed != 0);
}

// A click on a radio button changes MouseKind at once, not at Next.
static void SelMouseCommand(WPARAM wParam) {
    if (wParam == IDC_SERIAL) Shared::MouseKind = 1;
    if (wParam == IDC_PS2) Shared::MouseKind = 0;
}

LRESULT CALLBACK SelMousePageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        SelMouseCommand(wParam);
        break;
    case WM_SETUP_INIT:
        SelMouseInit(page);
        break;
    }
    return WizardPageDefaultProc(page, message, wParam, lParam);
}
