#include <windows.h>

#include "wizard/pages.h"

#include "app/app.h"
#include "presentation/background.h"
#include "resource.h"
#include "runtime/text.h"
#include "script/model.h"
#include "texts/notice.h"
#include "wizard/placement.h"

int16_t Shared::PageResult;
int32_t Shared::BackAllowed = 1;
int32_t Shared::RestartChoice = 1;

enum { kPageTextWidth = 128, kFormatOutputWidth = 1025 };  // wsprintfA writes 1024 at most

static void RegisterPageClass(const char* className, WNDPROC pageProc) {
    WNDCLASSA pageClass;
    ZeroBytes(&pageClass, sizeof(pageClass));
    pageClass.style = CS_HREDRAW | CS_VREDRAW;
    pageClass.lpfnWndProc = pageProc;
    pageClass.cbWndExtra = DLGWINDOWEXTRA;
    pageClass.hInstance = Shared::AppInstance;
    pageClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    pageClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_MENU + 1));
    pageClass.lpszClassName = className;
    // From the second visit on the class exists already and serves as it is.
    RegisterClassA(&pageClass);
}

HWND CreatePage(const char* className, WNDPROC pageProc, int templateId) {
    RegisterPageClass(className, pageProc);
    return CreateDialogParamA(Shared::AppInstance, MAKEINTRESOURCEA(templateId),
                              Shared::BackgroundWindow, nullptr, 0);
}

int16_t RunPage(const char* className, WNDPROC pageProc, int templateId) {
    HWND page = CreatePage(className, pageProc, templateId);
    if (page == nullptr) return 0;  // no window will ever post the quit message
    // Without a dialog procedure the dialog manager gives no control the focus.
    FocusPageControl(page, GetDlgItem(page, IDC_NEXT));
    SendMessageA(page, WM_SETUP_INIT, 0, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(page, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return Shared::PageResult;
}

void CaptionAndCenterPage(HWND page, int askScreenAnew) {
    char title[kPageTextWidth];
    char caption[kPageTextWidth];
    GetWindowTextA(page, title, sizeof(title));
    TextCopy(caption, sizeof(caption), Shared::ProductName);
    TextAppend(caption, sizeof(caption), " ");
    TextAppend(caption, sizeof(caption), title);
    SetWindowTextA(page, caption);

    int16_t screenWidth = Shared::ScreenWidth;
    int16_t screenHeight = Shared::ScreenHeight;
    if (askScreenAnew) {
        screenWidth = static_cast<int16_t>(GetSystemMetrics(SM_CXSCREEN));
        screenHeight = static_cast<int16_t>(GetSystemMetrics(SM_CYSCREEN));
    }
    RECT r;
    GetWindowRect(page, &r);
    PagePlacement p = PlacePage(r.left, r.top, r.right, r.bottom, screenWidth, screenHeight);
    SetWindowPos(page, HWND_TOP, p.x, p.y, p.width, p.height, SWP_SHOWWINDOW);
}

void FillPlaceholder(HWND page, int controlId) {
    char format[kPageTextWidth];
    char formatted[kFormatOutputWidth];
    char text[kPageTextWidth];
    GetDlgItemTextA(page, controlId, format, sizeof(format));
    wsprintfA(formatted, format, Shared::ProductName);
    // A long product name could make the text longer than the control's buffer: cut it.
    TextCopy(text, sizeof(text), formatted);
    SetDlgItemTextA(page, controlId, text);
}

void ClosePage(HWND page) { SendMessageA(page, WM_CLOSE, 0, 0); }

// A button's end of a page: PageResult := result, then the page closes itself.
static void EndPage(HWND page, int16_t result) {
    Shared::PageResult = result;
    ClosePage(page);
}

static void CancelPage(HWND page) {
    Shared::PageResult = 0;
    ShowCancelNotice(page, Shared::ProductName, Shared::SetupCaption);
    ClosePage(page);
}

LRESULT PageDefaultProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CaptionAndCenterPage(page, 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);  // ends RunPage's loop
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) return 0;
        break;
    }
    if (PageFocusMessage(page, message, wParam, lParam)) return 0;
    return DefWindowProcA(page, message, wParam, lParam);
}

LRESULT WizardPageDefaultProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        switch (wParam) {
        case IDC_NEXT:
            EndPage(page, 1);
            return 0;
        case IDC_BACK:
            EndPage(page, 2);
            return 0;
        case IDC_CANCEL:
            CancelPage(page);
            return 0;
        }
    }
    return PageDefaultProc(page, message, wParam, lParam);
}
