#include <windows.h>

#include "resource.h"
#include "wizard/pages.h"

// The welcome page: its text names the product. Next and Cancel (Esc) are the shared
// buttons; Back is disabled in the template.
LRESULT CALLBACK BeginPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETUP_INIT) FillPlaceholder(page, IDC_TEXT2);
    return WizardPageDefaultProc(page, message, wParam, lParam);
}
