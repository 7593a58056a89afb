#include <windows.h>

#include "resource.h"
#include "wizard/pages.h"

// Next and Cancel (Esc) of the welcome page; its Back button is disabled in the template.
static LRESULT BeginCommand(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (wParam) {
    case IDC_NEXT:
        EndPage(page, 1);
        return 0;
    case IDC_CANCEL:
        CancelPage(page);
        return 0;
    default:
        return DefWindowProcA(page, message, wParam, lParam);
    }
}

LRESULT CALLBACK BeginPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CenterPage(page, 0);
        return 0;
    case WM_DESTROY:
        return EndPageLoop();
    case WM_COMMAND:
        return BeginCommand(page, message, wParam, lParam);
    case WM_SETUP_INIT:
        FillPlaceholder(page, IDC_TEXT2);
        break;
    }
    return PageDefaultProc(page, message, wParam, lParam);
}
