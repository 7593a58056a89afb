#include <windows.h>

#include "resource.h"
#include "wizard/pages.h"

// The control that had the focus when the page was last deactivated; it gets it back when
// the page is active again. Only one page exists at a time.
static HWND RememberedFocus;

static int IsPushButton(HWND control) {
    return (SendMessageA(control, WM_GETDLGCODE, 0, 0) &
            (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

static int IsRadioButton(HWND control) {
    return (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0 &&
           (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
}

// Gives a push button the default style or takes it away, repainting only on a change.
static void MarkDefault(HWND button, int isDefault) {
    if (button == nullptr || !IsPushButton(button)) return;
    int wasDefault = (SendMessageA(button, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
    if (wasDefault != isDefault)
        SendMessageA(button, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void FocusPageControl(HWND page, HWND control) {
    if (control == nullptr || GetParent(control) != page) return;
    HWND previous = GetFocus();
    SetFocus(control);
    HWND next = GetDlgItem(page, IDC_NEXT);
    HWND newDefault = IsPushButton(control) ? control : next;
    if (previous != newDefault && previous != nullptr && GetParent(previous) == page)
        MarkDefault(previous, 0);
    if (next != newDefault) MarkDefault(next, 0);
    MarkDefault(newDefault, 1);
}

// What the dialog manager asks of the page for Tab and Shift+Tab (lParam 0, wParam non-zero
// for backwards) and for an arrow key or a mnemonic (lParam non-zero, wParam the control).
// An automatic radio button reached with an arrow is checked, as a click would. (Wine's
// dialog manager moves between radio buttons itself; other arrow moves come here.)
static void NextControl(HWND page, WPARAM wParam, LPARAM lParam) {
    HWND target = reinterpret_cast<HWND>(wParam);
    if (lParam == 0) {
        HWND focus = GetFocus();
        if (focus == nullptr || GetParent(focus) != page) focus = nullptr;
        target = GetNextDlgTabItem(page, focus, wParam != 0);
    }
    if (target == nullptr) return;
    FocusPageControl(page, target);
    if (lParam != 0 && IsRadioButton(target) &&
        SendMessageA(target, BM_GETCHECK, 0, 0) != BST_CHECKED)
        SendMessageA(target, BM_CLICK, 0, 0);
}

int PageFocusMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NEXTDLGCTL:
        NextControl(page, wParam, lParam);
        return 1;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && GetParent(focus) == page) RememberedFocus = focus;
        }
        break;
    case WM_SETFOCUS:
        // The page itself has no use for the keyboard: hand it on to a control.
        if (RememberedFocus != nullptr && GetParent(RememberedFocus) == page &&
            IsWindowEnabled(RememberedFocus)) {
            FocusPageControl(page, RememberedFocus);
        } else {
            FocusPageControl(page, GetDlgItem(page, IDC_NEXT));
        }
        return 1;
    }
    return 0;
}
