#include <windows.h>

#include "presentation/background.h"

#include "app/app.h"
#include "presentation/gradient.h"
#include "presentation/keyedbitmap.h"
#include "resource.h"
#include "runtime/text.h"
#include "script/model.h"
#include "texts/textring.h"

HWND Shared::BackgroundWindow;

// 1 until the end of the first paint.
static int32_t Dissolving = 1;

int DissolvePending() { return Dissolving; }

void DissolveNextPaint() { Dissolving = 1; }

static const char kClassName[] = "SetupMain";

// Where each banner goes; a paint draws a banner only when its update rectangle meets this
// rectangle. The bitmap itself is drawn at its own size from the left and top corner.
static void TopBannerRect(RECT* r) { SetRect(r, 20, 10, 320, 60); }
static void LowBannerRect(RECT* r, int height) { SetRect(r, 20, height - 60, 600, height - 10); }

// The vertical blue gradient over the whole screen size, one solid brush per band.
static void PaintGradient(HDC dc, int width, int height) {
    for (int band = 0; band < kGradientBands; ++band) {
        RECT r;
        SetRect(&r, 0, GradientBandTop(band, height), width, GradientBandBottom(band, height));
        HBRUSH brush = CreateSolidBrush(RGB(0, 0, GradientBandBlue(band)));
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
}

// Draws the banner when its rectangle meets the region being painted.
static void PaintBanner(HDC dc, int id, const RECT* place, const RECT* update) {
    RECT meet;
    if (IntersectRect(&meet, place, update)) DrawKeyedBitmap(dc, id, place, Dissolving);
}

// Everything the window shows; the first call dissolves the banners in, later calls draw
// them in one sweep.
void PaintBackground(HDC dc, const RECT* update) {
    int width = Shared::ScreenWidth, height = Shared::ScreenHeight;
    PaintGradient(dc, width, height);
    RECT place;
    TopBannerRect(&place);
    PaintBanner(dc, IDB_BANNER_TOP, &place, update);
    if (Shared::OemMode == 0) {
        LowBannerRect(&place, height);
        PaintBanner(dc, IDB_BANNER_LOW, &place, update);
    }
    Dissolving = 0;
}

static void OnPaint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    PaintBackground(dc, &ps.rcPaint);
    EndPaint(window, &ps);
}

static LRESULT CALLBACK BackgroundWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (static_cast<uint16_t>(message)) {
    case WM_CREATE:
        // Topmost and over the whole screen, behind the pages it owns.
        SetWindowPos(window, HWND_TOPMOST, 0, 0, Shared::ScreenWidth, Shared::ScreenHeight,
                     SWP_SHOWWINDOW);
        return 0;
    case WM_DESTROY:
        // The pages run their own loops; destroying the background ends none of them.
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_SYSCOMMAND:
        // Alt+F4 would destroy the background and with it the page it owns.
        if ((wParam & 0xFFF0) == SC_CLOSE) return 0;
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int CreateBackgroundWindow() {
    WNDCLASSA wc;
    ZeroBytes(&wc, sizeof(wc));
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = BackgroundWndProc;
    wc.hInstance = Shared::AppInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);

    Shared::BackgroundWindow = CreateWindowExA(0, kClassName, LoadTextOrEmpty(IDS_SETUP),
                                               WS_POPUP | WS_VISIBLE | WS_BORDER, CW_USEDEFAULT,
                                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                               nullptr, Shared::AppInstance, nullptr);
    if (!Shared::BackgroundWindow) return 0;

    // Handle the first paint, with the dissolving banners, before any page exists.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 1;
}
